#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace korvo {

// A command glyph from the program's own icon set (":/icons/<name>.svg").
QIcon CommandIcon(const QString& name);

// The program's own picture: window icon and About box.
QIcon ApplicationIcon();

// Gutter pictures drawn at run time: a numbered bookmark (16 by 16) and the
// simulation line marks (11 by 14).
QPixmap BookmarkGlyph(int number);

enum class TLineGlyph { Code, Current, CurrentBreakpoint, CodeBreakpoint, Breakpoint, Executed };
QPixmap LineGlyph(TLineGlyph glyph);

} // namespace korvo
