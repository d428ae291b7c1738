#include "shell/search/search_state.h"

namespace korvo {

void AddToHistory(QStringList& history, const QString& text) {
    if (text.isEmpty()) return;
    history.removeIf(
        [&](const QString& entry) { return entry.compare(text, Qt::CaseInsensitive) == 0; });
    history.prepend(text);
    while (history.size() > kSearchHistoryLength)
        history.removeLast();
}

} // namespace korvo
