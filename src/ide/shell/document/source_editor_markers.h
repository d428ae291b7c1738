#pragma once

#include "shell/document/source_editor.h"

// The numbers of the markers and indicators of a source editor, shared by
// the files that implement it.
namespace korvo::source_editor {

// Markers 0 to 9 are the bookmarks; then the simulation glyphs, and the
// line background of the current line (not drawn in the gutter).
inline constexpr int kFirstGlyphMarker = 10;
inline constexpr int kGlyphKinds = 6;
// Line backgrounds, in TLineColour order from Current on.
inline constexpr int kFirstColourMarker = 20;
inline constexpr int kColourKinds = 3;
inline constexpr int kLineTextIndicator = 9;
inline constexpr int kErrorIndicator = 10;
inline constexpr int kWarningIndicator = 11;
inline constexpr int kNoteIndicator = 12;
// Executed and never executed lines, drawn over the line numbers.
inline constexpr int kCoveredMarker = 23, kMissedMarker = 24;
// The heat column's levels, cold to hot.
inline constexpr int kHeatMarkers[TSourceEditor::kHeatLevels] = {16, 17, 18, 19, 25};

} // namespace korvo::source_editor
