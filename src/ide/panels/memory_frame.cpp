#include "panels/memory_frame.h"

#include "panels/panel_widgets.h"

#include <QGroupBox>
#include <QLabel>

namespace korvo {

namespace {
constexpr int kFirstValueX = 34;
constexpr int kValueStep = 16;
constexpr int kMiddleGap = 8;
constexpr int kFirstRowY = 17;
constexpr int kRowStep = 16;

int ValueX(int column) {
    return kFirstValueX + column * kValueStep + (column >= 8 ? kMiddleGap : 0);
}
} // namespace

TMemoryFrame::TMemoryFrame(int rows, int height, QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, height);
    GroupBox = new QGroupBox(this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    GroupBox->setGeometry(0, 0, kWidth, height);

    QFont captionFont = PanelFont();
    QFont digitFont = PanelDigitFont();
    digitFont.setPixelSize(11);
    for (int row = 0; row < rows; ++row) {
        auto* range = new QLabel(GroupBox);
        range->setFont(captionFont);
        range->setGeometry(6, kFirstRowY + row * kRowStep, 26, 14);
        rangeLabels_.push_back(range);
        for (int column = 0; column < 16; ++column) {
            auto* label = new TValueLabel(GroupBox);
            int n = row * 16 + column;
            label->Tag = n;
            label->setFont(digitFont);
            label->setAlignment(Qt::AlignCenter);
            label->setGeometry(ValueX(column), kFirstRowY + row * kRowStep, kValueStep, 14);
            label->setText(QStringLiteral("00"));
            label->setToolTip(QStringLiteral("Double click to change value"));
            connect(label, &TValueLabel::DoubleClicked, this, &TMemoryFrame::EditRequested);
            valueLabels_.push_back(label);
        }
    }
    QFont columnFont = captionFont;
    columnFont.setPixelSize(9);
    for (int column = 0; column < 16; ++column) {
        auto* caption = new QLabel(HexDigits(column, 1), GroupBox);
        caption->setFont(columnFont);
        // Greyed by the palette of the theme that shows.
        caption->setEnabled(false);
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(ValueX(column), kFirstRowY + rows * kRowStep, kValueStep, 11);
    }
    values_.assign(valueLabels_.size(), 0);
    SetBase(0);
}

void TMemoryFrame::SetBase(int base) {
    base_ = base;
    for (int row = 0; row < static_cast<int>(rangeLabels_.size()); ++row)
        rangeLabels_[row]->setText(DollarHex(base + row * 16));
}

void TMemoryFrame::SetCaption(const QString& text) {
    GroupBox->setTitle(QLatin1Char(' ') + text + QLatin1Char(' '));
}

std::int32_t TMemoryFrame::GetValue(int n) const {
    return n >= 0 && n < ValueCount() ? values_[n] : 0;
}

void TMemoryFrame::SetValue(int n, std::int32_t value) {
    if (n < 0 || n >= ValueCount()) return;
    values_[n] = value;
    SetLabelText(*valueLabels_[n], HexDigits(value, 2));
}

void TMemoryFrame::ListValues(TShownValues& values) const {
    for (int n = 0; n < ValueCount(); ++n)
        values.emplace_back(valueLabels_[n], values_[n]);
}

TValueLabel* TMemoryFrame::ValueLabel(int n) const {
    return n >= 0 && n < ValueCount() ? valueLabels_[n] : nullptr;
}

QLabel* TMemoryFrame::RangeLabel(int row) const {
    return row >= 0 && row < static_cast<int>(rangeLabels_.size()) ? rangeLabels_[row] : nullptr;
}

} // namespace korvo
