#pragma once

#include <QFont>

namespace korvo {

// "Courier New" (or the system's fixed-pitch font where it is missing) with
// characters pixelHeight pixels high at 96 dpi. The size is given in points,
// since the editor component sizes its styles by points.
QFont FixedFont(double pixelHeight);

// The font of the editors for the "Editor" settings' family and size in
// points: the fixed-pitch font above in that family.
QFont EditorFont(const QString& family, int pointSize);

} // namespace korvo
