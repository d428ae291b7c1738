#include "shell/settings/settings_dialog.h"

#include "shell/app/help_window.h"
#include "shell/settings/settings_format_page.h"
#include "shell/settings/settings_jtag_page.h"
#include "shell/settings/settings_layout_page.h"
#include "shell/settings/settings_misc_page.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace korvo {

namespace {
constexpr int kDialogWidth = 600;
constexpr int kDialogHeight = 400;
// The manual's section of each page, in the order of TPage.
constexpr std::array<const char*, 4> kPageSections{"settings-format", "settings-layout",
                                                   "settings-jtag", "settings-misc"};
} // namespace

TdlgSettings::TdlgSettings(ISettingsStore& settings, TCoreKind coreKind, ILog& log,
                           TPanelLimits& panelLimits, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("  Settings"));

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    format_ = new TFormatPage(coreKind);
    layout_ = new TLayoutPage(panelLimits);
    jtag_ = new TJtagPage;
    misc_ = new TMiscPage;
    pages_->addTab(format_, QStringLiteral("Format"));
    pages_->addTab(layout_, QStringLiteral("Layout"));
    pages_->addTab(jtag_, QStringLiteral("JTAG"));
    pages_->addTab(misc_, QStringLiteral("Misc"));

    default_ = new QPushButton(QStringLiteral("Default"), this);
    default_->setObjectName(QStringLiteral("btnDefault"));
    default_->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    help->setAutoDefault(false);
    help->setToolTip(QStringLiteral("What the settings of this page do (F1)"));
    connect(help, &QPushButton::clicked, this, &TdlgSettings::ShowPageHelp);
    connect(default_, &QPushButton::clicked, this, &TdlgSettings::RestoreDefaults);
    connect(ok, &QPushButton::clicked, this, &TdlgSettings::accept);
    connect(cancel, &QPushButton::clicked, this, &TdlgSettings::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(default_);
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons);

    // Reading order: highlighter attributes and columns, the scan chain, the
    // editor, clock and scratch pad settings; then what depends on them.
    format_->Load(settings);
    jtag_->Load(settings, log);
    jtag_->FillTargetPreset(coreKind);
    misc_->Load(settings);
    format_->SetSampleFont(misc_->EditorFont());
    layout_->Load();
    format_->ReformatSample();
    pages_->setCurrentIndex(pgFormat);
    misc_->FillFontList();

    for (TSettingsPage* page : Pages()) {
        page->MarkUnchanged();
        connect(page, &TSettingsPage::DefaultStateChanged, this,
                &TdlgSettings::UpdateDefaultButton);
    }
    connect(pages_, &QTabWidget::currentChanged, this, &TdlgSettings::UpdateDefaultButton);
    UpdateDefaultButton();

    FitToSample();
    connect(format_, &TFormatPage::SampleResized, this, &TdlgSettings::FitToSample);
    if (QScreen* screen = parent ? parent->screen() : this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TdlgSettings::FitToSample() {
    layout()->activate();
    setFixedSize(minimumSizeHint().expandedTo(QSize(kDialogWidth, kDialogHeight)));
}

void TdlgSettings::ShowPageHelp() {
    ShowManual(
        QString::fromLatin1(kPageSections[static_cast<std::size_t>(pages_->currentIndex())]));
}

void TdlgSettings::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::HelpContents)) {
        ShowPageHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

TSettingsPage* TdlgSettings::ShowingPage() const {
    return static_cast<TSettingsPage*>(pages_->currentWidget());
}

void TdlgSettings::RestoreDefaults() {
    ShowingPage()->RestoreDefaults();
    UpdateDefaultButton();
}

void TdlgSettings::UpdateDefaultButton() {
    default_->setEnabled(ShowingPage()->CanRestoreDefaults());
}

std::array<TSettingsPage*, 4> TdlgSettings::Pages() const {
    return {format_, layout_, jtag_, misc_};
}

void TdlgSettings::accept() {
    try {
        // A change on a page that is not showing is the user's too: it is
        // stored with the page that shows.
        for (TSettingsPage* page : Pages())
            if (page == ShowingPage() || page->Changed()) page->Store(settings_);
        settings_.Flush();
    } catch (const std::exception& failure) {
        QMessageBox::critical(this, QStringLiteral("Settings"),
                              QString::fromLocal8Bit(failure.what()));
        return;
    }
    QDialog::accept();
}

bool ShowSettingsDialog(QWidget* parent, ISettingsStore& settings, TCoreKind coreKind, ILog& log,
                        TPanelLimits& panelLimits) {
    TdlgSettings dialog(settings, coreKind, log, panelLimits, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace korvo
