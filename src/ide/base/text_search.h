#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QsciScintilla;

namespace korvo {

struct TSearchOptions {
    bool Replace = false; // replace every match (asking through the confirmation)
    bool Backwards = false;
    bool MatchCase = false;
    bool EntireScope = false; // from the start (or end) instead of the caret
    bool SelectedOnly = false;
    bool WholeWord = false;
};

enum class TReplaceAnswer { Yes, No, Cancel, YesToAll };

// Asked before each replacement with the match's byte range; the match is
// selected and scrolled into view when it is asked.
using TConfirmReplace = std::function<TReplaceAnswer(int matchStart, int matchEnd)>;

// Searches the editor's text. Without Replace the first match in the search
// direction is selected. With Replace every match in the range is offered
// for replacement (a match that equals the replacement exactly is skipped
// without asking); all replacements are one undo step. Returns the number of
// matches found.
int SearchReplace(QsciScintilla& editor, const QString& searchText, const QString& replaceText,
                  const TSearchOptions& options, const TConfirmReplace& confirm);

// Where the replace confirmation goes, in the coordinates of the rectangles:
// at the match's left edge, kept inside the editor horizontally (centred on a
// narrower editor); 4 pixels below the match line, or above it when the line
// lies in the lower third of the editor.
QPoint PlaceConfirmDialog(const QRect& editor, const QRect& match, const QSize& dialog);

} // namespace korvo
