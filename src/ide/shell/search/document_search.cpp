#include "shell/search/document_search.h"

#include "base/text_search.h"
#include "base/user_dialogs.h"
#include "shell/document/document_form.h"
#include "shell/document/document_host.h"
#include "shell/document/source_editor.h"
#include "shell/search/search_state.h"

#include <QPointer>
#include <algorithm>

namespace korvo {

namespace {
using Sci = QsciScintillaBase;

// Where a match is on the screen, for the replace confirmation.
QRect MatchRectangle(TSourceEditor& text, int start, int end) {
    int x = static_cast<int>(text.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0L, start));
    int y = static_cast<int>(text.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0L, start));
    int right = static_cast<int>(text.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0L, end));
    long line = text.SendScintilla(Sci::SCI_LINEFROMPOSITION, start);
    int height = static_cast<int>(text.SendScintilla(Sci::SCI_TEXTHEIGHT, line));
    QPoint topLeft = text.viewport()->mapToGlobal(QPoint(x, y));
    return QRect(topLeft, QSize(std::max(1, right - x), height));
}
} // namespace

void ShowSearchDialog(IDocumentHost& host, TDocumentForm& form, bool replace) {
    QPointer<TDocumentForm> alive = &form;
    TSourceEditor* text = form.SynEditor;
    TSearchState& state = host.SearchState();
    TSearchState edited = state;
    int lineFrom = 0, indexFrom = 0, lineTo = 0, indexTo = 0;
    text->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    if (text->hasSelectedText() && lineFrom == lineTo) {
        edited.SearchText = text->selectedText();
    } else {
        int line = 0, index = 0;
        text->getCursorPosition(&line, &index);
        edited.SearchText = text->wordAtLineIndex(line, index);
    }
    if (!host.Dialogs().EditSearch(host.DialogParent(), replace, edited)) return;
    state = edited;
    // The document may have been closed meanwhile.
    if (!alive) return;
    form.SearchFromCaret = state.FromCaret;
    if (!state.SearchText.isEmpty()) {
        RunSearch(host, form, replace, state.Backwards);
        if (alive) form.SearchFromCaret = true;
    }
}

void RunSearch(IDocumentHost& host, TDocumentForm& form, bool replace, bool backwards) {
    TSourceEditor& text = *form.SynEditor;
    const TSearchState& state = host.SearchState();
    TSearchOptions options;
    options.Replace = replace;
    options.Backwards = backwards;
    options.MatchCase = state.CaseSensitive;
    options.EntireScope = !form.SearchFromCaret;
    options.SelectedOnly = state.SelectedOnly;
    options.WholeWord = state.WholeWords;
    IUserDialogs& dialogs = host.Dialogs();
    QString searchText = state.SearchText;
    auto confirm = [&](int start, int end) {
        return dialogs.ConfirmReplace(&text, MatchRectangle(text, start, end), searchText);
    };
    int found = SearchReplace(text, searchText, state.ReplaceText, options, confirm);
    if (found == 0) {
        dialogs.Beep();
        long anchor =
            text.SendScintilla(backwards ? Sci::SCI_GETSELECTIONSTART : Sci::SCI_GETSELECTIONEND);
        text.SendScintilla(Sci::SCI_SETSEL, anchor, anchor);
    }
    dialogs.EndReplace();
}

} // namespace korvo
