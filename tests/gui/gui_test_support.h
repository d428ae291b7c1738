#pragma once

#include "shell/settings/qt_settings_store.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace korvo::test {

// A settings file in a fresh temporary folder, so that a test never touches
// the user's own settings.
class TTemporarySettings {
public:
    TTemporarySettings();
    QString FilePath() const { return folder_.filePath(QStringLiteral("settings.ini")); }
    QString Folder() const { return folder_.path(); }
    TQtSettingsStore& Store() { return *store_; }
    // Writes pending values and opens the file again, as a new start would.
    TQtSettingsStore& Reopen();

private:
    QTemporaryDir folder_;
    std::unique_ptr<TQtSettingsStore> store_;
};

} // namespace korvo::test
