#include "panels/led.h"

#include "base/theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

namespace korvo {

namespace {
struct TLEDShades {
    QColor Dark;   // rim and unlit body
    QColor Bright; // lit body
};

TLEDShades ShadesOf(TLEDColour colour) {
    switch (colour) {
    case lcGreen: return {QColor(0x1B, 0x4D, 0x1F), QColor(0x4C, 0xF0, 0x5A)};
    case lcYellow: return {QColor(0x5C, 0x4A, 0x0E), QColor(0xFF, 0xD8, 0x30)};
    case lcRed: break;
    }
    return {QColor(0x5A, 0x14, 0x14), QColor(0xFF, 0x3B, 0x30)};
}
} // namespace

std::shared_ptr<TLEDBitmap> TLEDBitmap::Shared() {
    static std::weak_ptr<TLEDBitmap> shared;
    auto bitmap = shared.lock();
    if (!bitmap) {
        bitmap = std::shared_ptr<TLEDBitmap>(new TLEDBitmap());
        shared = bitmap;
    }
    return bitmap;
}

const QPixmap& TLEDBitmap::Picture(TLEDColour colour, bool lit, bool enabled, qreal pixelRatio) {
    int ratio = static_cast<int>(std::lround(pixelRatio * 100));
    bool dark = CurrentTheme().Dark;
    int key = (ratio << 5) | (dark ? 16 : 0) | (static_cast<int>(colour) << 2) | (lit ? 2 : 0) |
              (enabled ? 1 : 0);
    auto found = pictures_.find(key);
    if (found == pictures_.end())
        found = pictures_.emplace(key, Draw(colour, lit, enabled, dark, pixelRatio)).first;
    return found->second;
}

QPixmap TLEDBitmap::Draw(TLEDColour colour, bool lit, bool enabled, bool dark, qreal pixelRatio) {
    QPixmap pixmap(QSize(kWidth, kHeight) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kWidth / 2.0, kHeight / 2.0);
    const qreal radius = 5.0;
    // A socket ring that stands out from the panel, then the lens.
    painter.setPen(Qt::NoPen);
    QColor ring = dark ? QColor(0x9A, 0x9A, 0x9A) : QColor(0x30, 0x30, 0x30);
    painter.setBrush(enabled ? ring : (dark ? QColor(0x58, 0x58, 0x58) : QColor(0xA8, 0xA8, 0xA8)));
    painter.drawEllipse(centre, radius + 0.9, radius + 0.9);
    TLEDShades shades = ShadesOf(colour);
    QRadialGradient lens(centre - QPointF(1.5, 1.5), radius * 1.6);
    if (!enabled) {
        lens.setColorAt(0, QColor(0xE4, 0xE4, 0xE4));
        lens.setColorAt(1, QColor(0xC4, 0xC4, 0xC4));
    } else if (lit) {
        lens.setColorAt(0, Qt::white);
        lens.setColorAt(0.25, shades.Bright.lighter(125));
        lens.setColorAt(1, shades.Bright.darker(130));
    } else {
        lens.setColorAt(0, shades.Dark.lighter(190));
        lens.setColorAt(1, shades.Dark);
    }
    painter.setBrush(lens);
    painter.drawEllipse(centre, radius, radius);
    // A small highlight makes the lens look round.
    painter.setBrush(QColor(255, 255, 255, lit && enabled ? 200 : 90));
    painter.drawEllipse(centre - QPointF(1.8, 1.8), 1.4, 1.1);
    return pixmap;
}

TLED::TLED(QWidget* parent) : QWidget(parent), bitmap_(TLEDBitmap::Shared()) {
    setFixedSize(TLEDBitmap::kWidth, TLEDBitmap::kHeight);
    // Painting its background itself keeps the frame behind it from
    // repainting at every change during a run.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void TLED::SetLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void TLED::SetColour(TLEDColour colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void TLED::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, bitmap_->Picture(colour_, lit_, isEnabled(), devicePixelRatioF()));
}

void TLED::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit Clicked(Tag);
    QWidget::mousePressEvent(event);
}

void TLED::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

} // namespace korvo
