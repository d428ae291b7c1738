#include "shell/settings/settings_format_page.h"

#include "shell/document/lexer.h"
#include "shell/settings/color_button.h"
#include "shell/settings/highlighter_settings.h"
#include "text/source_formatter.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

namespace korvo {

namespace {

// A short program that shows every kind of token the highlighter paints.
const std::vector<std::string>& SampleProgram() {
    static const std::vector<std::string> lines{
        "; LED chaser: counts down from a start value",
        ";with a recursive subroutine",
        "leds dsout $1, \"leds.txt\" ;LEDs",
        "display   dsout 002",
        "counter equ S0",
        "start_value  equ 10",
        "mask equ %00001111",
        "  org $00",
        "main: load counter,start_value",
        "  call countdown",
        "  load s1, 'A'",
        "  out s1,display",
        "  jump main",
        "; Shows the count, then calls itself until zero",
        "countdown: out counter, leds",
        "  and counter,mask",
        "  sub counter, 1",
        "  ret z",
        "  call countdown",
        "  ret",
    };
    return lines;
}

struct TColumnRange {
    const char* Caption;
    const char* Hint;
    int Minimum;
    int Maximum;
};

constexpr std::array<TColumnRange, 3> kColumnRanges{{
    {"Column 1:", "Where mnemonics and directives start", 1, 30},
    {"Column 2:", "Where operands start", 10, 50},
    {"Column 3:", "Where comments after code start", 20, 100},
}};

} // namespace

TFormatPage::TFormatPage(TCoreKind coreKind, QWidget* parent)
    : TSettingsPage(parent), coreKind_(coreKind), colors_{{{"Opcodes", atReservedWord, nullptr},
                                                           {"Directives", atPreprocessor, nullptr},
                                                           {"Idents", atIdentifier, nullptr},
                                                           {"Numbers", atNumber, nullptr},
                                                           {"Comment", atComment, nullptr}}},
      sampleLines_(SampleProgram()) {
    sample_ = new QsciScintilla(this);
    sample_->setObjectName(QStringLiteral("sampleEditor"));
    sample_->setReadOnly(true);
    sample_->setMarginWidth(1, 0);
    sample_->SendScintilla(QsciScintillaBase::SCI_SETMARGINLEFT, 0L, 3L);
    // The horizontal scroll bar only when a line is wider than the view.
    sample_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTH, 1L);
    sample_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, 1L);
    sample_->setCaretLineVisible(false);
    sample_->setWrapMode(QsciScintilla::WrapNone);
    sample_->SendScintilla(QsciScintillaBase::SCI_SETCARETSTYLE,
                           QsciScintillaBase::CARETSTYLE_INVISIBLE);
    highlighter_ = new TSourceLexer(scanner_, sample_);
    sample_->setLexer(highlighter_);

    auto* colorGroup = new QGroupBox(QStringLiteral(" Colours "), this);
    auto* colorLayout = new QVBoxLayout(colorGroup);
    colorLayout->setSpacing(4);
    for (auto& choice : colors_) {
        choice.Button = new TColorButton(QString::fromLatin1(choice.Caption), colorGroup);
        choice.Button->setObjectName(QStringLiteral("color") + QString::fromLatin1(choice.Caption));
        TAttributeIndex attribute = choice.Attribute;
        connect(choice.Button, &TColorButton::ColorChosen, this,
                [this, attribute](const QColor& color) { ColorChosen(attribute, color); });
        colorLayout->addWidget(choice.Button);
    }

    auto* columnGroup = new QGroupBox(QStringLiteral(" Columns "), this);
    auto* columnLayout = new QFormLayout(columnGroup);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const auto& range = kColumnRanges[i];
        auto* box = new QSpinBox(columnGroup);
        box->setObjectName(QStringLiteral("column%1").arg(i + 1));
        box->setRange(range.Minimum, range.Maximum);
        box->setToolTip(QString::fromLatin1(range.Hint));
        columnLayout->addRow(QString::fromLatin1(range.Caption), box);
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (!loading_) ReformatSample();
        });
        columns_[i] = box;
    }

    auto* side = new QVBoxLayout;
    side->addWidget(colorGroup);
    side->addWidget(columnGroup);
    side->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(sample_, 1);
    layout->addLayout(side);

    loading_ = true;
    SetColumns(TFormatColumns{});
    loading_ = false;
    ShowAttributeColors();
    ShowSample();
}

TFormatPage::~TFormatPage() {
    // The editor asks its lexer for styles while it goes; detach first.
    sample_->setLexer(nullptr);
}

void TFormatPage::Load(const ISettingsStore& settings) {
    LoadHighlighterAttributes(settings, scanner_.Attributes());
    highlighter_->ApplyAttributes();
    ShowAttributeColors();
    loading_ = true;
    SetColumns(ReadFormatColumns(settings));
    loading_ = false;
}

void TFormatPage::SetSampleFont(const QFont& font) {
    highlighter_->ApplyAttributes(font);
    FitSample();
}

void TFormatPage::FitSample() {
    // Bold and italic take no more room in a fixed-pitch font; measure bold
    // to be safe.
    QFont bold = highlighter_->BaseFont();
    bold.setBold(true);
    QFontMetrics metrics(bold);
    int widest = 0;
    for (const auto& line : sampleLines_)
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line)));
    int lineHeight =
        static_cast<int>(sample_->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0L));
    int left = static_cast<int>(sample_->SendScintilla(QsciScintillaBase::SCI_GETMARGINLEFT));
    QSize needed(widest + left + 2 + 2 * sample_->frameWidth(),
                 lineHeight * static_cast<int>(sampleLines_.size() + 1) +
                     2 * sample_->frameWidth());
    if (sample_->minimumSize() == needed) return;
    sample_->setMinimumSize(needed);
    emit SampleResized();
}

TFormatColumns TFormatPage::Columns() const {
    return {columns_[0]->value(), columns_[1]->value(), columns_[2]->value()};
}

void TFormatPage::SetColumns(const TFormatColumns& columns) {
    columns_[0]->setValue(columns.Column1);
    columns_[1]->setValue(columns.Column2);
    columns_[2]->setValue(columns.Column3);
}

const std::vector<TSynHighlighterAttribute>& TFormatPage::Attributes() const {
    return scanner_.Attributes();
}

void TFormatPage::ReformatSample() {
    sampleLines_ = FormatLines(scanner_, sampleLines_, coreKind_, Columns());
    ShowSample();
}

void TFormatPage::ShowSample() {
    QStringList lines;
    for (const auto& line : sampleLines_)
        lines.append(QString::fromStdString(line));
    // The editor refuses text changes while it is read-only.
    sample_->setReadOnly(false);
    sample_->setText(lines.join(QLatin1Char('\n')));
    sample_->setReadOnly(true);
    FitSample();
}

void TFormatPage::ColorChosen(TAttributeIndex attribute, const QColor& color) {
    scanner_.Attributes()[attribute].Foreground = TColorFromColor(color);
    highlighter_->ApplyAttributes();
}

void TFormatPage::ShowAttributeColors() {
    for (auto& choice : colors_)
        choice.Button->SetColor(
            ColorFromTColor(scanner_.Attributes()[choice.Attribute].Foreground));
}

void TFormatPage::Store(ISettingsStore& settings) {
    SaveHighlighterAttributes(settings, scanner_.Attributes());
    WriteFormatColumns(settings, Columns());
}

void TFormatPage::RestoreDefaults() {
    const auto builtIn = TSynHighLighterIDE::DefaultAttributes();
    auto& attributes = scanner_.Attributes();
    for (const auto& choice : colors_) {
        attributes[choice.Attribute].Foreground = builtIn[choice.Attribute].Foreground;
        attributes[choice.Attribute].Style = builtIn[choice.Attribute].Style;
    }
    highlighter_->ApplyAttributes();
    ShowAttributeColors();
    loading_ = true;
    SetColumns(TFormatColumns{});
    loading_ = false;
    ReformatSample();
}

} // namespace korvo
