#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <cstdint>

namespace korvo {

// A label that reports double clicks: the value labels the user double
// clicks to change a value.
class TValueLabel : public QLabel {
    Q_OBJECT
public:
    explicit TValueLabel(QWidget* parent = nullptr);
    // Which value of its frame the label shows.
    int Tag = 0;

signals:
    void DoubleClicked(int tag);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The small fonts of the panels: captions and digits, pixel sized so that
// the fixed frame sizes hold them on every screen.
QFont PanelFont();
QFont PanelDigitFont();

// The look of every panel: group boxes framed in one thin line with the
// title on the line, compact edits. Set on each panel container.
QString PanelStyleSheet();

// "$" and the value in upper-case hexadecimal, at least minDigits digits.
QString DollarHex(std::int64_t value, int minDigits = 2);
// The value in upper-case hexadecimal, at least minDigits digits.
QString HexDigits(std::int64_t value, int minDigits = 2);

// Sets a label's text only when it changes, so that an unchanged label is
// not repainted.
void SetLabelText(QLabel& label, const QString& text);

} // namespace korvo
