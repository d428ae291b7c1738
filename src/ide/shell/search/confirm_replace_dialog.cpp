#include "shell/search/confirm_replace_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace korvo {

namespace {
constexpr int kYes = 1;
constexpr int kNo = 2;
constexpr int kCancel = 3;
constexpr int kYesToAll = 4;
} // namespace

TConfirmReplaceDialog::TConfirmReplaceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("  Confirm replace"));
    setObjectName(QStringLiteral("dlgConfirmReplace"));
    auto* icon = new QLabel(this);
    int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size, size));
    question_ = new QLabel(this);
    question_->setTextFormat(Qt::PlainText);
    question_->setWordWrap(true);
    question_->setMinimumWidth(240);

    auto* buttons = new QHBoxLayout;
    auto addButton = [&](const QString& caption, int code) {
        auto* button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, [this, code] { done(code); });
        buttons->addWidget(button);
        return button;
    };
    addButton(QStringLiteral("&Yes"), kYes)->setDefault(true);
    addButton(QStringLiteral("&No"), kNo);
    addButton(QStringLiteral("Cancel"), kCancel);
    addButton(QStringLiteral("Yes to &all"), kYesToAll);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(question_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

void TConfirmReplaceDialog::SetSearchText(const QString& searchText) {
    question_->setText(QStringLiteral("Replace this occurence of \"%1\"?").arg(searchText));
}

TReplaceAnswer TConfirmReplaceDialog::Ask() {
    switch (exec()) {
    case kYes: return TReplaceAnswer::Yes;
    case kNo: return TReplaceAnswer::No;
    case kYesToAll: return TReplaceAnswer::YesToAll;
    default: return TReplaceAnswer::Cancel;
    }
}

} // namespace korvo
