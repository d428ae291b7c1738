#include "panels/panel_widgets.h"

#include "base/fonts.h"
#include "common/hex_text.h"

#include <QMouseEvent>

namespace korvo {

TValueLabel::TValueLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void TValueLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit DoubleClicked(Tag);
    QLabel::mouseDoubleClickEvent(event);
}

QFont PanelFont() {
    QFont font;
    font.setPixelSize(11);
    return font;
}

QFont PanelDigitFont() {
    QFont font = FixedFont(12);
    font.setPixelSize(12);
    return font;
}

QString PanelStyleSheet() {
    return QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 6px;"
        " padding-top: 4px; font-size: 11px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0px 1px; }"
        "QLineEdit { padding: 0px 1px; margin: 0px; }"
        "QCheckBox { spacing: 3px; }");
}

QString HexDigits(std::int64_t value, int minDigits) {
    return QString::fromStdString(HexText(value, minDigits));
}

QString DollarHex(std::int64_t value, int minDigits) {
    return QLatin1Char('$') + HexDigits(value, minDigits);
}

void SetLabelText(QLabel& label, const QString& text) {
    if (label.text() != text) label.setText(text);
}

} // namespace korvo
