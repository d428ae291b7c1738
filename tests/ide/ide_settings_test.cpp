// The desktop program's own settings: defaults, round trips in memory and
// through an INI file.
#include "data_files.h"
#include "scratch_folder.h"
#include "settings/qt_settings_store.h"
#include "shell/settings/ide_settings.h"

#include <gtest/gtest.h>

namespace korvo::settings {
namespace {

const TWindowSettings kWindow{"0.9.1", -20, 35, 1280, 1024, true, false, false};
const std::vector<std::string> kRecentFiles{"/work/a b.psm", "C:\\src\\blink.psm", "/x/ü.asm",
                                            "/d.psm", "/e.psm"};
const TEditorSettings kEditor{"DejaVu Sans Mono", 14, true, false, true, false, true};

TStoredAttribute AttributeSample(std::size_t index) {
    auto number = static_cast<std::int32_t>(index);
    return {0x010203 * number, 0xFFFFFF - number, number % 16};
}

// Every value keeps its default until stored, and reads back as stored from
// memory and from an INI file opened again.
TEST(IdeSettings, DefaultsAndRoundTrips) {
    test::TScratchFolder dir;
    std::string ini = dir / "korvo.ini";
    TMemorySettingsStore memory;
    std::unique_ptr<ISettingsStore> file = std::make_unique<TQtSettingsStore>(ini);
    for (ISettingsStore* store : {static_cast<ISettingsStore*>(&memory), file.get()}) {
        EXPECT_EQ(LoadWindowSettings(*store),
                  (TWindowSettings{"", 10, 10, 600, 400, false, true, true}));
        EXPECT_TRUE(LoadRecentFiles(*store).empty());
        // Courier New, 9 points, every switch left empty.
        EXPECT_EQ(LoadEditorSettings(*store),
                  (TEditorSettings{"Courier New", 9, {}, {}, {}, {}, {}}));
        for (auto name : kAttributeNames)
            EXPECT_EQ(LoadAttribute(*store, name), TStoredAttribute{});
        StoreWindowSettings(*store, kWindow);
        StoreRecentFiles(*store, kRecentFiles);
        StoreEditorSettings(*store, kEditor);
        for (std::size_t i = 0; i < kAttributeNames.size(); ++i)
            StoreAttribute(*store, kAttributeNames[i], AttributeSample(i));
    }
    file->Flush();
    file = std::make_unique<TQtSettingsStore>(ini);
    for (const ISettingsStore* store : {static_cast<ISettingsStore*>(&memory), file.get()}) {
        EXPECT_EQ(LoadWindowSettings(*store), kWindow);
        EXPECT_EQ(LoadRecentFiles(*store), kRecentFiles);
        EXPECT_EQ(LoadEditorSettings(*store), kEditor);
        for (std::size_t i = 0; i < kAttributeNames.size(); ++i)
            EXPECT_EQ(LoadAttribute(*store, kAttributeNames[i]), AttributeSample(i))
                << kAttributeNames[i];
    }
    // The keys keep the registry's layout as INI groups.
    std::string text = test::ReadBytes(ini);
    for (const char* line : {"[Window]", "Left=-20", "[MRUFiles]", "MRUFile1=/work/a b.psm"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// An unreadable value gives the default.
TEST(IdeSettings, UnreadableValuesGiveTheDefaults) {
    auto with = [](std::string_view key, std::string_view name, const std::string& text) {
        auto store = std::make_unique<TMemorySettingsStore>();
        store->WriteValue(key, name, text);
        return store;
    };
    EXPECT_EQ(LoadWindowSettings(*with(kWindowKey, kLeft, "ten")).Left, 10);
    EXPECT_TRUE(LoadWindowSettings(*with(kWindowKey, kMaximized, "7")).Maximized);
    EXPECT_EQ(LoadEditorSettings(*with(kEditorKey, kFontSize, "25")).FontSize, 9);
    EXPECT_EQ(LoadEditorSettings(*with(kEditorKey, kFontSize, "24")).FontSize, 24);
    EXPECT_EQ(LoadEditorSettings(*with(kEditorKey, kFontName, "")).FontName, "Courier New");
    EXPECT_EQ(LoadEditorSettings(*with(kEditorKey, kSmartTab, "on")).SmartTab, std::nullopt);
    EXPECT_EQ(LoadEditorSettings(*with(kEditorKey, kAutoIndent, "0")).AutoIndent, false);
    EXPECT_EQ(LoadAttribute(*with("Attributes/Number", kForeground, "red"), "Number"),
              TStoredAttribute{});
}

// A missing or unreadable value ends its block; a rectangle without size is
// the default one.
TEST(IdeSettings, WindowBlocksEndAtTheFirstMissingValue) {
    struct TCase {
        std::vector<std::pair<std::string_view, const char*>> Stored;
        TWindowSettings Expected;
    };
    const TCase cases[] = {
        {{{kLeft, "30"}, {kWidth, "800"}, {kHeight, "500"}}, {"", 30, 10, 600, 400}},
        {{{kLeft, "30"}, {kTop, "40"}, {kWidth, "800"}, {kHeight, "0"}}, {"", 10, 10, 600, 400}},
        {{{kLeft, "-30"}, {kTop, "40"}, {kWidth, "800"}, {kHeight, "500"}},
         {"", -30, 40, 800, 500}},
        {{{kMaximized, "x"}, {kShowStatusbar, "0"}}, {}},
        {{{kMaximized, "0"}, {kShowStatusbar, "0"}}, {"", 10, 10, 600, 400, false, false, true}},
    };
    for (const auto& c : cases) {
        TMemorySettingsStore store;
        for (auto [name, value] : c.Stored)
            store.WriteValue(kWindowKey, name, value);
        EXPECT_EQ(LoadWindowSettings(store), c.Expected) << c.Stored.front().first;
    }
}

TEST(IdeSettings, RecentFilesKeepOrderAndDropStaleEntries) {
    TMemorySettingsStore store;
    StoreRecentFiles(store, {"/a.psm", "/b.psm", "/c.psm", "/d.psm", "/e.psm", "/f.psm"});
    EXPECT_EQ(LoadRecentFiles(store),
              (std::vector<std::string>{"/a.psm", "/b.psm", "/c.psm", "/d.psm", "/e.psm"}));
    StoreRecentFiles(store, {"/x.psm"});
    EXPECT_EQ(LoadRecentFiles(store), std::vector<std::string>{"/x.psm"});
    EXPECT_EQ(store.ReadValue(kRecentFilesKey, "MRUFile2"), std::nullopt);
}

} // namespace
} // namespace korvo::settings
