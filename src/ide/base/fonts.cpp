#include "base/fonts.h"

namespace korvo {

QFont FixedFont(double pixelHeight) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pixelHeight * 72.0 / 96.0);
    return font;
}

QFont EditorFont(const QString& family, int pointSize) {
    QFont font = FixedFont(12);
    if (!family.isEmpty()) font.setFamily(family);
    if (pointSize > 0) font.setPointSize(pointSize);
    return font;
}

} // namespace korvo
