#include "platform/data_folders.h"

#include <QDir>
#include <QFileInfo>

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

} // namespace korvo
