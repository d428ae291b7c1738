#pragma once

#include "base/theme.h"
#include "common/settings_layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The keys and values only the desktop program keeps: its window, recent
// files and session, the editor and the colours of the highlighter. The keys
// the command-line tool shares are in common/settings_layout.h.
namespace korvo::settings {

inline constexpr std::string_view kWindowKey = "Window";
inline constexpr std::string_view kLastVersion = "LastVersion";
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kWidth = "Width";
inline constexpr std::string_view kHeight = "Height";
inline constexpr std::string_view kMaximized = "Maximized";
inline constexpr std::string_view kShowStatusbar = "ShowStatusbar";
inline constexpr std::string_view kShowLogPane = "ShowLogPane";

inline constexpr std::string_view kRecentFilesKey = "MRUFiles";
inline constexpr int kRecentFileCount = 5;
// "MRUFile1" (the most recent) to "MRUFile5".
std::string RecentFileValueName(int number);

// Values below kOptionsKey.
inline constexpr std::string_view kTheme = "Theme";
inline constexpr std::string_view kReopenFiles = "ReopenFiles";
inline constexpr std::string_view kLastFolder = "LastFolder";

// The files open when the program ended, and which one was in front.
inline constexpr std::string_view kSessionKey = "Session";
inline constexpr std::string_view kSessionActive = "Active";
// "File1" (the first tab) to "FileN", N as "Count".
std::string SessionFileValueName(int number);

inline constexpr std::string_view kEditorKey = "Editor";
inline constexpr std::string_view kFontName = "FontName";
inline constexpr std::string_view kFontSize = "FontSize";
inline constexpr std::string_view kSmartTab = "SmartTab";
inline constexpr std::string_view kTabIndent = "TabIndent";
inline constexpr std::string_view kTabsToSpaces = "TabsToSpaces";
inline constexpr std::string_view kTabDelete = "TabDelete";
inline constexpr std::string_view kAutoIndent = "AutoIndent";

inline constexpr std::string_view kAttributesKey = "Attributes";
inline constexpr std::array<std::string_view, 9> kAttributeNames{
    "Comment", "Identifier", "Illegal char", "Reserved word", "Number",
    "Space",   "String",     "Symbol",       "Preprocessor"};
inline constexpr std::string_view kForeground = "Foreground";
inline constexpr std::string_view kBackground = "Background";
inline constexpr std::string_view kStyle = "Style";

// The main window, read at start and written at exit.
struct TWindowSettings {
    std::string LastVersion; // empty when missing: the About box is due
    std::int32_t Left = 10;
    std::int32_t Top = 10;
    std::int32_t Width = 600;
    std::int32_t Height = 400;
    bool Maximized = false;
    bool ShowStatusbar = true;
    bool ShowLogPane = true;
    friend bool operator==(const TWindowSettings&, const TWindowSettings&) = default;
};
// Reads two blocks: "LastVersion", "Left", "Top", "Width", "Height", then
// "Maximized", "ShowStatusbar", "ShowLogPane". A missing or unreadable value
// ends its block: it and the rest of the block keep their defaults. A
// rectangle without width or height (below 1) reads as the default one.
TWindowSettings LoadWindowSettings(const ISettingsStore& store);
void StoreWindowSettings(ISettingsStore& store, const TWindowSettings& window);

// The recent-file list, most recent first, at most kRecentFileCount names;
// empty entries are skipped.
std::vector<std::string> LoadRecentFiles(const ISettingsStore& store);
// Writes the first kRecentFileCount names and deletes the values of the
// missing ones.
void StoreRecentFiles(ISettingsStore& store, const std::vector<std::string>& files);

TThemeChoice LoadThemeChoice(const ISettingsStore& store);
void StoreThemeChoice(ISettingsStore& store, TThemeChoice choice);

// Whether the files of the last session open again at start; on by default.
bool LoadReopenFiles(const ISettingsStore& store);
void StoreReopenFiles(ISettingsStore& store, bool reopen);

// The folder of the file last chosen in a file dialog (empty when none).
std::string LoadLastFolder(const ISettingsStore& store);
void StoreLastFolder(ISettingsStore& store, std::string_view folder);

struct TSession {
    std::vector<std::string> Files;
    std::int32_t Active = -1; // index into Files, -1 for none
    friend bool operator==(const TSession&, const TSession&) = default;
};
TSession LoadSession(const ISettingsStore& store);
// Replaces the stored session.
void StoreSession(ISettingsStore& store, const TSession& session);

// The editor options. A missing switch is left empty: the settings dialog
// shows it on, a new document takes it as off. A font size outside the
// dialog's range reads as the default.
struct TEditorSettings {
    std::string FontName = "Courier New";
    std::int32_t FontSize = 9; // points, 6 to 24
    std::optional<bool> SmartTab;
    std::optional<bool> TabIndent;
    std::optional<bool> TabsToSpaces;
    std::optional<bool> TabDelete;
    std::optional<bool> AutoIndent;
    friend bool operator==(const TEditorSettings&, const TEditorSettings&) = default;
};
inline constexpr std::int32_t kMinFontSize = 6;
inline constexpr std::int32_t kMaxFontSize = 24;
TEditorSettings LoadEditorSettings(const ISettingsStore& store);
// Writes the font and the switches that are set.
void StoreEditorSettings(ISettingsStore& store, const TEditorSettings& editor);

// One highlighter attribute's colours and style bits; a missing value stays
// empty, so the highlighter keeps its built-in one.
inline constexpr std::int32_t kStyleBold = 1;
inline constexpr std::int32_t kStyleItalic = 2;
inline constexpr std::int32_t kStyleUnderline = 4;
inline constexpr std::int32_t kStyleStrikeOut = 8;
struct TStoredAttribute {
    std::optional<std::int32_t> Foreground;
    std::optional<std::int32_t> Background;
    std::optional<std::int32_t> Style;
    friend bool operator==(const TStoredAttribute&, const TStoredAttribute&) = default;
};
TStoredAttribute LoadAttribute(const ISettingsStore& store, std::string_view attributeName);
// Writes the values that are set.
void StoreAttribute(ISettingsStore& store, std::string_view attributeName,
                    const TStoredAttribute& attribute);

} // namespace korvo::settings
