#include "shell/settings/settings_misc_page.h"

#include "base/fonts.h"
#include "common/number_text.h"
#include "shell/settings/settings_build_group.h"
#include "shell/settings/settings_uart_group.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvo {

namespace {

struct TSwitch {
    const char* Caption;
    const char* Name;
    std::optional<bool> settings::TEditorSettings::*Value;
};

constexpr std::array<TSwitch, 5> kSwitches{{
    {"Smart tab", "smartTab", &settings::TEditorSettings::SmartTab},
    {"Tab indent", "tabIndent", &settings::TEditorSettings::TabIndent},
    {"Tab to spaces", "tabsToSpaces", &settings::TEditorSettings::TabsToSpaces},
    {"Smart tab delete", "tabDelete", &settings::TEditorSettings::TabDelete},
    {"Auto indent", "autoIndent", &settings::TEditorSettings::AutoIndent},
}};

constexpr std::array kScratchPadChoices{"No Scratch Pad",     "16 bytes",  "32 bytes",
                                        "64 bytes (default)", "128 bytes", "256 bytes"};
static_assert(kScratchPadChoices.size() == settings::kScratchPadSizes.size());

// Font families may come once per foundry ("Mono [Foundry]"); the bare name
// is what a font is asked for by.
QString BareFamily(const QString& family) {
    qsizetype bracket = family.indexOf(QLatin1String(" ["));
    return bracket < 0 ? family : family.left(bracket);
}

} // namespace

QStringList FixedPitchFontFamilies() {
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family) || !QFontDatabase::isSmoothlyScalable(family))
            continue;
        QString bare = BareFamily(family);
        if (!families.contains(bare, Qt::CaseInsensitive)) families.append(bare);
    }
    families.sort(Qt::CaseInsensitive);
    return families;
}

TMiscPage::TMiscPage(QWidget* parent) : TSettingsPage(parent) {
    auto* editorGroup = new QGroupBox(QStringLiteral(" Editor "), this);
    auto* editorLayout = new QVBoxLayout(editorGroup);
    auto* fontForm = new QFormLayout;
    fontName_ = new QComboBox(editorGroup);
    fontName_->setObjectName(QStringLiteral("fontName"));
    fontName_->setEditable(true);
    fontName_->setInsertPolicy(QComboBox::NoInsert);
    fontName_->setMinimumContentsLength(16);
    fontSize_ = new QSpinBox(editorGroup);
    fontSize_->setObjectName(QStringLiteral("fontSize"));
    fontSize_->setRange(settings::kMinFontSize, settings::kMaxFontSize);
    fontSize_->setMinimumWidth(fontSize_->fontMetrics().horizontalAdvance(QStringLiteral("000")) +
                               40);
    fontForm->addRow(QStringLiteral("Font Type:"), fontName_);
    fontForm->addRow(QStringLiteral("Font Size:"), fontSize_);
    fontForm->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    fontName_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    editorLayout->addLayout(fontForm);
    // Two columns of switches leave room for the window group below.
    auto* switchGrid = new QGridLayout;
    for (int i = 0; i < static_cast<int>(switches_.size()); ++i) {
        switches_[i] = new QCheckBox(QString::fromLatin1(kSwitches[i].Caption), editorGroup);
        switches_[i]->setObjectName(QString::fromLatin1(kSwitches[i].Name));
        switchGrid->addWidget(switches_[i], i % 3, i / 3);
    }
    editorLayout->addLayout(switchGrid);
    editorLayout->addStretch();

    auto* timeGroup = new QGroupBox(QStringLiteral(" Time "), this);
    auto* timeLayout = new QGridLayout(timeGroup);
    frequency_ = new QLineEdit(timeGroup);
    frequency_->setObjectName(QStringLiteral("clockFrequency"));
    frequency_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,6}|\\$[0-9A-Fa-f]{0,6}")), this));
    frequency_->setMaximumWidth(frequency_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8 +
                                12);
    auto* frequencyLabel = new QLabel(QStringLiteral("Clock Freq:"), timeGroup);
    frequencyLabel->setBuddy(frequency_);
    auto* note = new QLabel(QStringLiteral("Note: Picoblaze uses two clock cycles per instruction"),
                            timeGroup);
    note->setWordWrap(true);
    note->setEnabled(false);
    timeLayout->addWidget(frequencyLabel, 0, 0);
    timeLayout->addWidget(frequency_, 0, 1);
    timeLayout->addWidget(new QLabel(QStringLiteral("MHz"), timeGroup), 0, 2);
    timeLayout->setColumnStretch(3, 1);
    timeLayout->addWidget(note, 1, 0, 1, 4);

    auto* scratchGroup = new QGroupBox(QStringLiteral(" Scratch Pad Size "), this);
    auto* scratchLayout = new QGridLayout(scratchGroup);
    scratchPad_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(kScratchPadChoices.size()); ++i) {
        auto* choice = new QRadioButton(QString::fromLatin1(kScratchPadChoices[i]), scratchGroup);
        choice->setObjectName(QStringLiteral("scratchPad%1").arg(i));
        scratchPad_->addButton(choice, i);
        scratchLayout->addWidget(choice, i % 3, i / 3);
    }

    build_ = new TCoreBuildGroup(this);

    auto* windowGroup = new QGroupBox(QStringLiteral(" Window "), this);
    auto* windowLayout = new QFormLayout(windowGroup);
    theme_ = new QComboBox(windowGroup);
    theme_->setObjectName(QStringLiteral("theme"));
    theme_->addItems(
        {QStringLiteral("As the desktop"), QStringLiteral("Light"), QStringLiteral("Dark")});
    windowLayout->addRow(QStringLiteral("Colours:"), theme_);
    reopenFiles_ = new QCheckBox(QStringLiteral("Reopen the last session's files"), windowGroup);
    reopenFiles_->setObjectName(QStringLiteral("reopenFiles"));
    windowLayout->addRow(reopenFiles_);

    // The side column may be taller than the fixed dialog (a large font):
    // it scrolls, so that the dialog keeps its size.
    auto* sideArea = new QScrollArea(this);
    sideArea->setObjectName(QStringLiteral("miscSide"));
    sideArea->setFrameShape(QFrame::NoFrame);
    sideArea->setWidgetResizable(true);
    sideArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* sideWidget = new QWidget(sideArea);
    auto* side = new QVBoxLayout(sideWidget);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(timeGroup);
    // The UART settings near the top, where the dialog shows them without
    // scrolling.
    uart_ = new TUartSettingsGroup(this);
    side->addWidget(uart_);
    side->addWidget(scratchGroup);
    side->addWidget(build_);
    side->addStretch();
    sideArea->setWidget(sideWidget);
    sideArea->setMinimumWidth(sideWidget->minimumSizeHint().width() +
                              sideArea->verticalScrollBar()->sizeHint().width());

    auto* left = new QVBoxLayout;
    left->addWidget(editorGroup, 1);
    left->addWidget(windowGroup);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(sideArea, 1);
    // The side column's scroll bar takes the place of the page's right margin.
    QMargins margins = layout->contentsMargins();
    layout->setContentsMargins(margins.left(), margins.top(), 0, margins.bottom());

    ShowEditorSettings({});
    scratchPad_->button(settings::kDefaultScratchPadChoice)->setChecked(true);
    reopenFiles_->setChecked(true);
}

void TMiscPage::ShowEditorSettings(const settings::TEditorSettings& editor) {
    fontName_->setEditText(QString::fromStdString(editor.FontName));
    fontSize_->setValue(editor.FontSize);
    // A switch that was never stored shows on.
    for (std::size_t i = 0; i < switches_.size(); ++i)
        switches_[i]->setChecked((editor.*kSwitches[i].Value).value_or(true));
}

void TMiscPage::Load(const ISettingsStore& settings) {
    ShowEditorSettings(settings::LoadEditorSettings(settings));
    // The field shows the frequency a simulation runs at: the stored text
    // when it is a valid frequency, else the default that takes its place.
    std::string frequency = settings::LoadClockFrequencyText(settings);
    std::int32_t used = settings::LoadClockFrequencyMHz(settings);
    auto stored = ParseIntegerText(frequency);
    frequency_->setText(stored && *stored == used ? QString::fromStdString(frequency).trimmed()
                                                  : QString::number(used));
    scratchPad_->button(settings::LoadScratchPadChoice(settings))->setChecked(true);
    build_->Load(settings);
    theme_->setCurrentIndex(static_cast<int>(settings::LoadThemeChoice(settings)));
    reopenFiles_->setChecked(settings::LoadReopenFiles(settings));
    uart_->Load(settings);
}

void TMiscPage::FillFontList() {
    QString shown = fontName_->currentText();
    fontName_->clear();
    fontName_->addItems(FixedPitchFontFamilies());
    int index = fontName_->findText(shown, Qt::MatchFixedString);
    if (index >= 0) fontName_->setCurrentIndex(index);
    fontName_->setEditText(shown);
}

QFont TMiscPage::EditorFont() const {
    return ::korvo::EditorFont(fontName_->currentText(), fontSize_->value());
}

settings::TEditorSettings TMiscPage::EditorSettings() const {
    settings::TEditorSettings editor;
    editor.FontName = fontName_->currentText().toStdString();
    editor.FontSize = fontSize_->value();
    for (std::size_t i = 0; i < switches_.size(); ++i)
        editor.*kSwitches[i].Value = switches_[i]->isChecked();
    return editor;
}

void TMiscPage::Store(ISettingsStore& settings) {
    settings::StoreEditorSettings(settings, EditorSettings());
    // A field left empty (or without digits) stores the default, so that
    // what the page shows next time is what the simulation used.
    std::string frequency = frequency_->text().trimmed().toStdString();
    auto value = ParseIntegerText(frequency);
    if (!value || *value <= 0) frequency = std::to_string(settings::kDefaultClockFrequency);
    settings::StoreClockFrequencyText(settings, frequency);
    settings::StoreScratchPadChoice(settings, scratchPad_->checkedId());
    build_->Store(settings);
    settings::StoreThemeChoice(settings,
                               static_cast<settings::TThemeChoice>(theme_->currentIndex()));
    settings::StoreReopenFiles(settings, reopenFiles_->isChecked());
    uart_->Store(settings);
}

void TMiscPage::RestoreDefaults() {
    settings::TEditorSettings defaults;
    for (const auto& item : kSwitches)
        defaults.*item.Value = true;
    ShowEditorSettings(defaults);
}

} // namespace korvo
