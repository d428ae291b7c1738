#pragma once

#include <QColor>
#include <QToolButton>

namespace korvo {

// A button that shows a colour next to its caption and offers a palette of
// the sixteen standard colours, plus "Other..." for any colour.
class TColorButton : public QToolButton {
    Q_OBJECT
public:
    explicit TColorButton(const QString& caption, QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    // Shows a colour without announcing it.
    void SetColor(const QColor& color);

    // The palette's colours with their names, in menu order.
    static const QList<QPair<QString, QColor>>& Palette();

signals:
    // The user picked a colour.
    void ColorChosen(const QColor& color);

private:
    void Choose(const QColor& color);
    void ChooseOther();
    void UpdateSwatch();

    QColor color_;
};

// A square filled with a colour and a thin frame, sharp at the screen's scale.
QIcon SwatchIcon(const QColor& color, int size, qreal devicePixelRatio);

} // namespace korvo
