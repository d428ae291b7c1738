#include "shell/status_bar_panel.h"

#include <QPainter>

namespace korvo {

namespace {
constexpr int kTextMargin = 2;
} // namespace

TStatusBarPanel::TStatusBarPanel(int width, Qt::Alignment alignment, QWidget* parent)
    : QFrame(parent), width_(width), alignment_(alignment) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int TStatusBarPanel::TextWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text) + 2 * (frameWidth() + kTextMargin);
}

void TStatusBarPanel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    if (TextWidth(text_) > width_) {
        width_ = TextWidth(text_);
        updateGeometry();
    }
    update();
}

QSize TStatusBarPanel::sizeHint() const {
    return {width_, fontMetrics().height() + 2 * frameWidth() + 2};
}

QSize TStatusBarPanel::minimumSizeHint() const {
    return {2 * (frameWidth() + kTextMargin) + fontMetrics().averageCharWidth() * 2,
            sizeHint().height()};
}

void TStatusBarPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    QRect area = contentsRect().adjusted(kTextMargin, 0, -kTextMargin, 0);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, alignment_ | Qt::AlignVCenter,
                     fontMetrics().elidedText(text_, Qt::ElideRight, area.width()));
}

} // namespace korvo
