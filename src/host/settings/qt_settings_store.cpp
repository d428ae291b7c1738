#include "settings/qt_settings_store.h"

#include <QStringList>

namespace korvo {

namespace {
QString Path(std::string_view key, std::string_view name) {
    QString path = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    if (!name.empty()) {
        if (!path.isEmpty()) path += '/';
        path += QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    return path;
}
} // namespace

TQtSettingsStore::TQtSettingsStore()
#ifdef _WIN32
    : settings_(std::make_unique<QSettings>(
          "HKEY_CURRENT_USER\\Software\\Velmora\\Windows\\CurrentVersion\\KorvoIDE",
          QSettings::NativeFormat))
#else
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Velmora",
                                            "KorvoIDE"))
#endif
{
}

TQtSettingsStore::TQtSettingsStore(const std::string& iniFile)
    : settings_(std::make_unique<QSettings>(QString::fromLocal8Bit(iniFile.c_str()),
                                            QSettings::IniFormat)) {}

TQtSettingsStore::~TQtSettingsStore() {
    settings_->sync();
}

bool TQtSettingsStore::KeyExists(std::string_view key) const {
    settings_->beginGroup(Path(key, {}));
    bool exists = !settings_->childKeys().isEmpty() || !settings_->childGroups().isEmpty();
    settings_->endGroup();
    return exists;
}

std::optional<std::string> TQtSettingsStore::ReadValue(std::string_view key,
                                                       std::string_view name) const {
    QVariant value = settings_->value(Path(key, name));
    if (!value.isValid()) return std::nullopt;
    // An INI value written by hand with commas in it reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(',').toStdString();
    return value.toString().toStdString();
}

void TQtSettingsStore::WriteValue(std::string_view key, std::string_view name,
                                  std::string_view value) {
    settings_->setValue(Path(key, name),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void TQtSettingsStore::WriteIntegerValue(std::string_view key, std::string_view name,
                                         std::int32_t value) {
    settings_->setValue(Path(key, name), value);
}

void TQtSettingsStore::DeleteValue(std::string_view key, std::string_view name) {
    // An empty name would make remove() take the whole key.
    if (!name.empty()) settings_->remove(Path(key, name));
}

void TQtSettingsStore::DeleteKey(std::string_view key) {
    // An empty key would make remove() clear every setting.
    if (!key.empty()) settings_->remove(Path(key, {}));
}

void TQtSettingsStore::Flush() {
    settings_->sync();
    if (settings_->status() == QSettings::AccessError)
        throw ESettingsError("Cannot write the settings to \"" +
                             settings_->fileName().toStdString() + "\"");
}

std::unique_ptr<TQtSettingsStore> OpenSettingsStore(const std::optional<std::string>& iniFile) {
    if (iniFile && !iniFile->empty()) return std::make_unique<TQtSettingsStore>(*iniFile);
    QByteArray fromEnvironment = qgetenv(kSettingsEnvironmentVariable);
    if (!fromEnvironment.isEmpty())
        return std::make_unique<TQtSettingsStore>(fromEnvironment.toStdString());
    return std::make_unique<TQtSettingsStore>();
}

} // namespace korvo
