#include "shell/app/status_bar_panel.h"

#include <QPainter>
#include <algorithm>

namespace korvo {

namespace {
constexpr int kTextMargin = 2;
} // namespace

TStatusBarPanel::TStatusBarPanel(int width, Qt::Alignment alignment, bool keepsText,
                                 QWidget* parent)
    : QFrame(parent), width_(width), alignment_(alignment), keepsText_(keepsText) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int TStatusBarPanel::TextWidth(const QString& text) const {
    // A pixel to spare: advances are rounded, eliding measures exactly.
    return fontMetrics().horizontalAdvance(text) + 2 * (frameWidth() + kTextMargin) + 2;
}

void TStatusBarPanel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    int needed = TextWidth(text_);
    bool grown = false;
    if (needed > width_) {
        width_ = needed;
        grown = true;
    }
    if (keepsText_ && std::min(needed, width_) > minimumWidth_) {
        minimumWidth_ = std::min(needed, width_);
        grown = true;
    }
    if (grown) updateGeometry();
    update();
}

QSize TStatusBarPanel::sizeHint() const {
    return {width_, fontMetrics().height() + 2 * frameWidth() + 2};
}

QSize TStatusBarPanel::minimumSizeHint() const {
    return {std::max(minimumWidth_,
                     2 * (frameWidth() + kTextMargin) + fontMetrics().averageCharWidth() * 2),
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
