#include "platform/data_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvo {

QString ExamplesFolder(const QString& programFolder) {
    const QString candidates[] = {
        QDir(programFolder).filePath(QStringLiteral("../share/korvo/examples")),
        QStringLiteral(KORVO_SOURCE_EXAMPLES_DIR),
    };
    for (const QString& candidate : candidates) {
        QFileInfo folder(candidate);
        if (folder.isDir()) return folder.canonicalFilePath();
    }
    return {};
}

QString UserExamplesFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("Korvo IDE examples"));
}

int CopyMissingFiles(const QString& from, const QString& to, QString& failure) {
    if (!QDir().mkpath(to)) {
        failure = QStringLiteral("cannot make the folder ") + to;
        return -1;
    }
    int copied = 0;
    for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files)) {
        QString target = QDir(to).filePath(file.fileName());
        if (QFileInfo::exists(target)) continue;
        if (!QFile::copy(file.filePath(), target)) {
            failure =
                QStringLiteral("cannot copy ") + file.filePath() + QStringLiteral(" to ") + to;
            return -1;
        }
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        ++copied;
    }
    return copied;
}

QString ManualFile(const QString& programFolder) {
    const QString candidates[] = {
        QDir(programFolder).filePath(QStringLiteral("../share/korvo/manual/korvo-ide.html")),
        QStringLiteral(KORVO_SOURCE_MANUAL_FILE),
    };
    for (const QString& candidate : candidates) {
        QFileInfo file(candidate);
        if (file.isFile()) return file.canonicalFilePath();
    }
    return {};
}

} // namespace korvo
