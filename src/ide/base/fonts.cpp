#include "base/fonts.h"

namespace korvo {

QFont FixedFont(double pixelHeight) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pixelHeight * 72.0 / 96.0);
    return font;
}

} // namespace korvo
