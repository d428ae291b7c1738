#include "shell/app/recent_files.h"

namespace korvo {

void TRecentFiles::Add(const QString& fileName) {
    if (fileName.isEmpty()) return;
    Remove(fileName);
    files_.prepend(fileName);
    while (files_.size() > kCapacity)
        files_.removeLast();
}

void TRecentFiles::Remove(const QString& fileName) {
    files_.removeIf(
        [&](const QString& entry) { return entry.compare(fileName, Qt::CaseInsensitive) == 0; });
}

QString TRecentFiles::Get(int index) const {
    return index >= 0 && index < files_.size() ? files_[index] : QString();
}

} // namespace korvo
