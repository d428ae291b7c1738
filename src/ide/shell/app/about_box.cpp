#include "shell/app/about_box.h"

#include "korvo_version.h"
#include "shell/app/icons.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace korvo {

namespace {
QString MailAddress() {
    return QStringLiteral("korvo@") + QUrl(QString::fromUtf8(kHomePage)).host();
}

QLabel* LinkLabel(const QString& target, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                 .arg(target.toHtmlEscaped(), caption.toHtmlEscaped()),
                             parent);
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    return label;
}
} // namespace

TdlgAbout::TdlgAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("  About"));
    setWindowFlag(Qt::Tool);
    setObjectName(QStringLiteral("dlgAbout"));
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(ApplicationIcon().pixmap(96, 96));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    text_ = new QTextBrowser(this);
    text_->setReadOnly(true);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setOpenLinks(false);
    text_->setMinimumSize(340, 200);
    QString version = QString::fromUtf8(kProductVersion);
    QString heading = version.isEmpty()
                          ? QStringLiteral("Korvo IDE")
                          : QStringLiteral("Korvo IDE version: ") + version.toHtmlEscaped();
    text_->setHtml(
        QStringLiteral(
            "<div align=\"center\"><br><br><b>%1</b>"
            "<p>An editor, assembler and simulator for the PicoBlaze family of 8-bit soft "
            "processors. Thanks to everyone who reported problems, tried early versions and "
            "suggested improvements.</p>"
            "<p>This program is provided as is, without warranty of any kind, either expressed "
            "or implied. The entire risk as to the quality and performance of the program, and of "
            "the files it writes, is with you.</p></div>")
            .arg(heading));
    text_->viewport()->setAutoFillBackground(false);

    auto* links = new QVBoxLayout;
    links->addWidget(LinkLabel(QString::fromUtf8(kHomePage), QString::fromUtf8(kHomePage), this));
    links->addWidget(LinkLabel(QStringLiteral("mailto:") + MailAddress(), MailAddress(), this));

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* right = new QVBoxLayout;
    right->addWidget(text_, 1);
    right->addLayout(links);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
}

QString TdlgAbout::Text() const {
    return text_->toPlainText();
}

} // namespace korvo
