#include "shell/icons.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

// The icons live in a static library: its resources must be registered by hand.
static void RegisterIconResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(korvo);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace korvo {

QIcon CommandIcon(const QString& name) {
    RegisterIconResources();
    QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    Q_ASSERT_X(QFile::exists(path), "CommandIcon", qPrintable(path));
    return QIcon(path);
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
