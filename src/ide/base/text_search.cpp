#include "base/text_search.h"

#include <Qsci/qsciscintilla.h>

namespace korvo {

namespace {

using Sci = QsciScintillaBase;

struct TTarget {
    long Start = -1;
    long End = -1;
};

// Searches bytes [from, to) (backwards when from > to) for the pattern.
TTarget FindInRange(QsciScintilla& editor, const QByteArray& pattern, long from, long to) {
    editor.SendScintilla(Sci::SCI_SETTARGETSTART, from);
    editor.SendScintilla(Sci::SCI_SETTARGETEND, to);
    long found = editor.SendScintilla(Sci::SCI_SEARCHINTARGET, pattern.size(), pattern.constData());
    if (found < 0) return {};
    return {editor.SendScintilla(Sci::SCI_GETTARGETSTART),
            editor.SendScintilla(Sci::SCI_GETTARGETEND)};
}

void SelectMatch(QsciScintilla& editor, const TTarget& match, bool backwards) {
    if (backwards)
        editor.SendScintilla(Sci::SCI_SETSEL, match.End, match.Start);
    else
        editor.SendScintilla(Sci::SCI_SETSEL, match.Start, match.End);
    editor.SendScintilla(Sci::SCI_SCROLLCARET);
}

} // namespace

int SearchReplace(QsciScintilla& editor, const QString& searchText, const QString& replaceText,
                  const TSearchOptions& options, const TConfirmReplace& confirm) {
    QByteArray pattern = searchText.toUtf8();
    QByteArray replacement = replaceText.toUtf8();
    if (pattern.isEmpty()) return 0;
    int flags = 0;
    if (options.MatchCase) flags |= Sci::SCFIND_MATCHCASE;
    if (options.WholeWord) flags |= Sci::SCFIND_WHOLEWORD;
    editor.SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags);

    long selectionStart = editor.SendScintilla(Sci::SCI_GETSELECTIONSTART);
    long selectionEnd = editor.SendScintilla(Sci::SCI_GETSELECTIONEND);
    long low = 0;
    long high = editor.SendScintilla(Sci::SCI_GETLENGTH);
    if (options.SelectedOnly && selectionEnd > selectionStart) {
        low = selectionStart;
        high = selectionEnd;
    } else if (!options.EntireScope) {
        if (options.Backwards)
            high = selectionStart;
        else
            low = selectionEnd;
    }

    int found = 0;
    bool replaceAll = false;
    bool exactlyEqual = pattern == replacement;
    bool undoGroupOpen = false;
    while (low <= high) {
        TTarget match = options.Backwards ? FindInRange(editor, pattern, high, low)
                                          : FindInRange(editor, pattern, low, high);
        if (match.Start < 0) break;
        ++found;
        if (!options.Replace) {
            SelectMatch(editor, match, options.Backwards);
            break;
        }
        // The pattern is not empty, so every match moves the range on.
        auto skip = [&] {
            if (options.Backwards)
                high = match.Start;
            else
                low = match.End;
        };
        if (exactlyEqual) {
            skip();
            continue;
        }
        TReplaceAnswer answer = TReplaceAnswer::Yes;
        if (!replaceAll) {
            SelectMatch(editor, match, options.Backwards);
            answer = confirm ? confirm(static_cast<int>(match.Start), static_cast<int>(match.End))
                             : TReplaceAnswer::Yes;
        }
        if (answer == TReplaceAnswer::Cancel) break;
        if (answer == TReplaceAnswer::No) {
            skip();
            continue;
        }
        if (answer == TReplaceAnswer::YesToAll) replaceAll = true;
        if (!undoGroupOpen) {
            editor.SendScintilla(Sci::SCI_BEGINUNDOACTION);
            undoGroupOpen = true;
        }
        editor.SendScintilla(Sci::SCI_SETTARGETSTART, match.Start);
        editor.SendScintilla(Sci::SCI_SETTARGETEND, match.End);
        long length = editor.SendScintilla(Sci::SCI_REPLACETARGET, replacement.size(),
                                           replacement.constData());
        long delta = length - (match.End - match.Start);
        if (options.Backwards) {
            high = match.Start;
        } else {
            low = match.Start + length;
            high += delta;
        }
        editor.SendScintilla(Sci::SCI_SETSEL, match.Start + length, match.Start + length);
    }
    if (undoGroupOpen) editor.SendScintilla(Sci::SCI_ENDUNDOACTION);
    return found;
}

QPoint PlaceConfirmDialog(const QRect& editor, const QRect& match, const QSize& dialog) {
    int x = 0;
    if (editor.width() < dialog.width()) {
        x = editor.left() + (editor.width() - dialog.width()) / 2;
    } else {
        x = match.left();
        int editorRight = editor.left() + editor.width();
        if (x + dialog.width() > editorRight) x = editorRight - dialog.width();
    }
    int y = 0;
    int lineBottom = match.top() + match.height();
    if (lineBottom > editor.top() + editor.height() * 2 / 3)
        y = match.top() - 4 - dialog.height();
    else
        y = lineBottom + 4;
    return {x, y};
}

} // namespace korvo
