// Build tool: renders an SVG icon into square PNG files, one per size.
// Usage: render_icon SVG SIZE:PNG...
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_icon SVG SIZE:PNG...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        QString target = QString::fromLocal8Bit(argv[i]);
        int colon = target.indexOf(':');
        bool isNumber = false;
        int size = colon > 0 ? target.left(colon).toInt(&isNumber) : 0;
        if (!isNumber || size < 1) {
            std::fprintf(stderr, "render_icon: expected SIZE:PNG, not %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (!image.save(target.mid(colon + 1), "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n",
                         qPrintable(target.mid(colon + 1)));
            return 1;
        }
    }
    return 0;
}
