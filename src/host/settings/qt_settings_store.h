#pragma once

#include "common/settings.h"

#include <QSettings>
#include <memory>
#include <optional>
#include <string>

namespace korvo {

// The settings store on QSettings: the per-user registry on Windows, an INI
// file in the user's configuration folder elsewhere, or a given INI file.
// Keys map to registry keys or INI groups ("SVF/Before/0" is the registry key
// SVF\Before\0 below the root); integers are registry numbers.
class TQtSettingsStore : public ISettingsStore {
public:
    // The user's own settings.
    TQtSettingsStore();
    // An INI file (created when it does not exist).
    explicit TQtSettingsStore(const std::string& iniFile);
    ~TQtSettingsStore() override;

    bool KeyExists(std::string_view key) const override;
    std::optional<std::string> ReadValue(std::string_view key,
                                         std::string_view name) const override;
    void WriteValue(std::string_view key, std::string_view name, std::string_view value) override;
    void WriteIntegerValue(std::string_view key, std::string_view name,
                           std::int32_t value) override;
    void DeleteValue(std::string_view key, std::string_view name) override;
    void DeleteKey(std::string_view key) override;
    // Throws ESettingsError when the file or registry cannot be written.
    void Flush() override;

    QSettings& Settings() { return *settings_; }

private:
    std::unique_ptr<QSettings> settings_;
};

// The store a front end uses: the INI file given on the command line, else
// the one named by the environment variable KORVO_SETTINGS, else the user's
// own settings.
std::unique_ptr<TQtSettingsStore> OpenSettingsStore(const std::optional<std::string>& iniFile);

inline constexpr const char* kSettingsEnvironmentVariable = "KORVO_SETTINGS";

} // namespace korvo
