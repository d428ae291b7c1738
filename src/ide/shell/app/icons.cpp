#include "shell/app/icons.h"

#include "base/theme.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

// The icons live in a static library: its resources must be registered by hand.
static void RegisterIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(korvo);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace korvo {

namespace {

// Draws a command glyph for the theme of the moment: on dark paper its dark
// outlines turn light. A disabled glyph is grey and faint in either theme.
class TCommandIconEngine : public QIconEngine {
public:
    explicit TCommandIconEngine(QByteArray svg) : svg_(std::move(svg)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        bool dark = CurrentTheme().Dark;
        QString key = QStringLiteral("%1 %2 %3 %4")
                          .arg(size.width())
                          .arg(size.height())
                          .arg(mode == QIcon::Disabled)
                          .arg(dark);
        if (auto found = drawn_.constFind(key); found != drawn_.cend()) return *found;
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QByteArray svg = svg_;
        if (dark) svg.replace("#37474f", "#b0bec5").replace("#546e7a", "#90a4ae");
        QSvgRenderer renderer(svg);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (mode == QIcon::Disabled) Fade(image);
        return *drawn_.insert(key, QPixmap::fromImage(image));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap image = pixmap(rect.size() * ratio, mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), image);
    }

    QIconEngine* clone() const override { return new TCommandIconEngine(svg_); }

private:
    static void Fade(QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                int grey = qGray(pixel[x]);
                pixel[x] = qRgba(grey, grey, grey, qAlpha(pixel[x]) * 2 / 5);
            }
        }
    }

    QByteArray svg_;
    // The glyph as drawn for each size, state and theme.
    QHash<QString, QPixmap> drawn_;
};

} // namespace

QIcon CommandIcon(const QString& name) {
    RegisterIconResources();
    QFile file(QStringLiteral(":/icons/%1.svg").arg(name));
    bool found = file.open(QIODevice::ReadOnly);
    Q_ASSERT_X(found, "CommandIcon", qPrintable(file.fileName()));
    return found ? QIcon(new TCommandIconEngine(file.readAll())) : QIcon();
}

QIcon ApplicationIcon() {
    RegisterIconResources();
    return QIcon(QStringLiteral(":/icons/korvo.svg"));
}

QPixmap BookmarkGlyph(int number) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath ribbon;
    ribbon.moveTo(2.5, 0.5);
    ribbon.lineTo(13.5, 0.5);
    ribbon.lineTo(13.5, 15.5);
    ribbon.lineTo(8, 12);
    ribbon.lineTo(2.5, 15.5);
    ribbon.closeSubpath();
    painter.setPen(QPen(QColor(0x1565c0), 1));
    painter.setBrush(QColor(0x1e88e5));
    painter.drawPath(ribbon);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(2, 0, 12, 11), Qt::AlignCenter, QString::number(number));
    return pixmap;
}

QPixmap LineGlyph(TLineGlyph glyph) {
    QPixmap pixmap(11, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    auto dot = [&](QColor fill, double radius) {
        painter.setPen(QPen(fill.darker(140), 1));
        painter.setBrush(fill);
        painter.drawEllipse(QPointF(5.5, 7), radius, radius);
    };
    auto arrow = [&] {
        QPainterPath path;
        path.moveTo(1.5, 3);
        path.lineTo(9.5, 7);
        path.lineTo(1.5, 11);
        path.closeSubpath();
        painter.setPen(QPen(QColor(0x0d47a1), 1));
        painter.setBrush(QColor(0x42a5f5));
        painter.drawPath(path);
    };
    switch (glyph) {
    case TLineGlyph::Code: dot(QColor(0x9e9e9e), 2); break;
    case TLineGlyph::Executed: dot(QColor(0x43a047), 2); break;
    case TLineGlyph::Current: arrow(); break;
    case TLineGlyph::Breakpoint: dot(QColor(0x9e9e9e), 4.5); break;
    case TLineGlyph::CodeBreakpoint: dot(QColor(0xe53935), 4.5); break;
    case TLineGlyph::CurrentBreakpoint:
        dot(QColor(0xe53935), 4.5);
        arrow();
        break;
    }
    return pixmap;
}

} // namespace korvo
