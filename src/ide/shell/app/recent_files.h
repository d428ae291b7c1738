#pragma once

#include <QString>
#include <QStringList>

namespace korvo {

// The most recently used files, most recent first, at most five; names are
// compared without regard to letter case.
class TRecentFiles {
public:
    static constexpr int kCapacity = 5;

    // Puts the name first, dropping any entry equal to it and the oldest
    // entries beyond the capacity; an empty name is ignored.
    void Add(const QString& fileName);
    void Remove(const QString& fileName);
    int Count() const { return static_cast<int>(files_.size()); }
    // The entry, or empty outside 0 .. Count() - 1.
    QString Get(int index) const;
    const QStringList& Files() const { return files_; }

private:
    QStringList files_;
};

} // namespace korvo
