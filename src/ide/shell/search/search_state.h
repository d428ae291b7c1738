#pragma once

#include <QString>
#include <QStringList>

namespace korvo {

// What the search and replace dialogs remember between searches, shared by
// all documents.
struct TSearchState {
    bool Backwards = false;
    bool CaseSensitive = false;
    bool FromCaret = false;
    bool SelectedOnly = false;
    bool WholeWords = false;
    QString SearchText;
    QStringList SearchHistory;
    QString ReplaceText;
    QStringList ReplaceHistory;
};

inline constexpr int kSearchHistoryLength = 10;

// Moves text to the top of a history: an entry equal to it without regard to
// letter case goes first; at most kSearchHistoryLength entries stay.
void AddToHistory(QStringList& history, const QString& text);

} // namespace korvo
