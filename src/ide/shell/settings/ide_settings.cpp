#include "shell/settings/ide_settings.h"

#include <algorithm>

namespace korvo::settings {

std::string RecentFileValueName(int number) {
    return "MRUFile" + std::to_string(number);
}

TWindowSettings LoadWindowSettings(const ISettingsStore& store) {
    TWindowSettings window;
    window.LastVersion = ReadString(store, kWindowKey, kLastVersion);
    // Each block reads its values in order until one is missing.
    auto readBlock =
        [&store](std::initializer_list<std::pair<std::string_view, std::int32_t*>> values) {
            for (auto [name, target] : values) {
                auto value = ReadOptionalInteger(store, kWindowKey, name);
                if (!value) return;
                *target = *value;
            }
        };
    readBlock({{kLeft, &window.Left},
               {kTop, &window.Top},
               {kWidth, &window.Width},
               {kHeight, &window.Height}});
    if (window.Width < 1 || window.Height < 1) {
        const TWindowSettings defaults;
        window.Left = defaults.Left;
        window.Top = defaults.Top;
        window.Width = defaults.Width;
        window.Height = defaults.Height;
    }
    std::int32_t maximized = window.Maximized;
    std::int32_t statusbar = window.ShowStatusbar;
    std::int32_t logPane = window.ShowLogPane;
    readBlock({{kMaximized, &maximized}, {kShowStatusbar, &statusbar}, {kShowLogPane, &logPane}});
    window.Maximized = maximized != 0;
    window.ShowStatusbar = statusbar != 0;
    window.ShowLogPane = logPane != 0;
    return window;
}

void StoreWindowSettings(ISettingsStore& store, const TWindowSettings& window) {
    WriteString(store, kWindowKey, kLastVersion, window.LastVersion);
    WriteInteger(store, kWindowKey, kLeft, window.Left);
    WriteInteger(store, kWindowKey, kTop, window.Top);
    WriteInteger(store, kWindowKey, kWidth, window.Width);
    WriteInteger(store, kWindowKey, kHeight, window.Height);
    WriteBool(store, kWindowKey, kMaximized, window.Maximized);
    WriteBool(store, kWindowKey, kShowStatusbar, window.ShowStatusbar);
    WriteBool(store, kWindowKey, kShowLogPane, window.ShowLogPane);
}

std::vector<std::string> LoadRecentFiles(const ISettingsStore& store) {
    std::vector<std::string> files;
    for (int number = 1; number <= kRecentFileCount; ++number) {
        std::string file = ReadString(store, kRecentFilesKey, RecentFileValueName(number));
        if (!file.empty()) files.push_back(std::move(file));
    }
    return files;
}

void StoreRecentFiles(ISettingsStore& store, const std::vector<std::string>& files) {
    for (int number = 1; number <= kRecentFileCount; ++number) {
        auto index = static_cast<std::size_t>(number - 1);
        std::string name = RecentFileValueName(number);
        if (index < files.size() && !files[index].empty())
            WriteString(store, kRecentFilesKey, name, files[index]);
        else
            store.DeleteValue(kRecentFilesKey, name);
    }
}

std::string SessionFileValueName(int number) {
    return "File" + std::to_string(number);
}

TThemeChoice LoadThemeChoice(const ISettingsStore& store) {
    std::int32_t choice = ReadIntegerOr(store, kOptionsKey, kTheme, 0);
    return choice >= 0 && choice <= 2 ? static_cast<TThemeChoice>(choice)
                                      : TThemeChoice::FollowDesktop;
}

void StoreThemeChoice(ISettingsStore& store, TThemeChoice choice) {
    WriteInteger(store, kOptionsKey, kTheme, static_cast<std::int32_t>(choice));
}

bool LoadReopenFiles(const ISettingsStore& store) {
    return ReadBoolOr(store, kOptionsKey, kReopenFiles, true);
}

void StoreReopenFiles(ISettingsStore& store, bool reopen) {
    WriteBool(store, kOptionsKey, kReopenFiles, reopen);
}

std::string LoadLastFolder(const ISettingsStore& store) {
    return ReadString(store, kOptionsKey, kLastFolder);
}

void StoreLastFolder(ISettingsStore& store, std::string_view folder) {
    WriteString(store, kOptionsKey, kLastFolder, folder);
}

TSession LoadSession(const ISettingsStore& store) {
    TSession session;
    std::int32_t count = std::clamp(ReadIntegerOr(store, kSessionKey, kCount, 0), 0, 1000);
    for (int number = 1; number <= count; ++number) {
        std::string file = ReadString(store, kSessionKey, SessionFileValueName(number));
        if (!file.empty()) session.Files.push_back(std::move(file));
    }
    std::int32_t active = ReadIntegerOr(store, kSessionKey, kSessionActive, -1);
    session.Active =
        active >= 0 && active < static_cast<std::int32_t>(session.Files.size()) ? active : -1;
    return session;
}

void StoreSession(ISettingsStore& store, const TSession& session) {
    store.DeleteKey(kSessionKey);
    WriteInteger(store, kSessionKey, kCount, static_cast<std::int32_t>(session.Files.size()));
    for (std::size_t i = 0; i < session.Files.size(); ++i)
        WriteString(store, kSessionKey, SessionFileValueName(static_cast<int>(i) + 1),
                    session.Files[i]);
    WriteInteger(store, kSessionKey, kSessionActive, session.Active);
}

TEditorSettings LoadEditorSettings(const ISettingsStore& store) {
    TEditorSettings editor;
    if (auto name = store.ReadValue(kEditorKey, kFontName); name && !name->empty())
        editor.FontName = *name;
    std::int32_t size = ReadIntegerOr(store, kEditorKey, kFontSize, editor.FontSize);
    if (size >= kMinFontSize && size <= kMaxFontSize) editor.FontSize = size;
    editor.SmartTab = ReadOptionalBool(store, kEditorKey, kSmartTab);
    editor.TabIndent = ReadOptionalBool(store, kEditorKey, kTabIndent);
    editor.TabsToSpaces = ReadOptionalBool(store, kEditorKey, kTabsToSpaces);
    editor.TabDelete = ReadOptionalBool(store, kEditorKey, kTabDelete);
    editor.AutoIndent = ReadOptionalBool(store, kEditorKey, kAutoIndent);
    return editor;
}

void StoreEditorSettings(ISettingsStore& store, const TEditorSettings& editor) {
    WriteString(store, kEditorKey, kFontName, editor.FontName);
    WriteInteger(store, kEditorKey, kFontSize, editor.FontSize);
    WriteIfSet(store, kEditorKey, kSmartTab, editor.SmartTab);
    WriteIfSet(store, kEditorKey, kTabIndent, editor.TabIndent);
    WriteIfSet(store, kEditorKey, kTabsToSpaces, editor.TabsToSpaces);
    WriteIfSet(store, kEditorKey, kTabDelete, editor.TabDelete);
    WriteIfSet(store, kEditorKey, kAutoIndent, editor.AutoIndent);
}

TStoredAttribute LoadAttribute(const ISettingsStore& store, std::string_view attributeName) {
    std::string key = std::string(kAttributesKey) + "/" + std::string(attributeName);
    return {ReadOptionalInteger(store, key, kForeground),
            ReadOptionalInteger(store, key, kBackground), ReadOptionalInteger(store, key, kStyle)};
}

void StoreAttribute(ISettingsStore& store, std::string_view attributeName,
                    const TStoredAttribute& attribute) {
    std::string key = std::string(kAttributesKey) + "/" + std::string(attributeName);
    WriteIfSet(store, key, kForeground, attribute.Foreground);
    WriteIfSet(store, key, kBackground, attribute.Background);
    WriteIfSet(store, key, kStyle, attribute.Style);
}

} // namespace korvo::settings
