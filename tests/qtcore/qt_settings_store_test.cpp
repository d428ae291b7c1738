// The settings store on QSettings, on INI files.
#include "common/settings_samples.h"
#include "output/output_test_support.h"
#include "settings/qt_settings_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace korvo::test {
namespace {

TEST(QtSettingsStore, EverySettingRoundTripsThroughAnIniFile) {
    TScratchFolder dir;
    std::string ini = dir / "korvo.ini";
    {
        TQtSettingsStore store(ini);
        StoreEverySetting(store);
        store.Flush();
    }
    TQtSettingsStore reopened(ini);
    ExpectEverySetting(reopened);
    ExpectEveryDefault(TQtSettingsStore(dir / "none.ini"));
    // The keys keep the registry's layout as INI groups.
    std::string text = ReadBytes(ini);
    for (const char* line :
         {"[Options]", "Korvo=4", "[SVF]", "Before\\Count=2", "Before\\1\\IRLength=6",
          "Target\\AddressFirst=1", "[Columns]", "Column3=64"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(QtSettingsStore, HandWrittenValues) {
    TScratchFolder dir;
    WriteBytes(dir / "hand.ini", "[Editor]\nFontName=\"Mono, Bold\"\nFontSize=\"12\"\n"
                                 "[MRUFiles]\nMRUFile1=a,b\n"
                                 "[SVF]\nTarget\\AddressFirst=true\n");
    TQtSettingsStore store(dir / "hand.ini");
    // Unquoted commas make a list in an INI file; it reads back as one text.
    EXPECT_EQ(ReadString(store, "Editor", "FontName"), "Mono, Bold");
    EXPECT_EQ(ReadString(store, "MRUFiles", "MRUFile1"), "a,b");
    EXPECT_EQ(ReadInteger(store, "Editor", "FontSize"), 12);
    EXPECT_THROW(ReadBool(store, "SVF/Target", "AddressFirst"), ESettingsError);
    EXPECT_TRUE(store.KeyExists("SVF"));
    EXPECT_TRUE(store.KeyExists("SVF/Target"));
    EXPECT_FALSE(store.KeyExists("SVF/Before"));
}

TEST(QtSettingsStore, DeletingValuesAndKeys) {
    TScratchFolder dir;
    TQtSettingsStore store(dir / "delete.ini");
    WriteString(store, "SVF/Before/0", "Chip", "A");
    WriteString(store, "Window", "LastVersion", "1");
    store.DeleteValue("Window", "LastVersion");
    store.DeleteValue("Window", "");
    store.DeleteKey("SVF/Before");
    EXPECT_EQ(store.ReadValue("Window", "LastVersion"), std::nullopt);
    EXPECT_FALSE(store.KeyExists("SVF/Before/0"));
    store.DeleteKey("");
    WriteInteger(store, "Options", "Korvo", 2);
    EXPECT_EQ(ReadInteger(store, "Options", "Korvo"), 2);
}

TEST(QtSettingsStore, UnwritableFileFailsOnFlush) {
    TScratchFolder dir;
    auto folder = ReadOnlyFolder(dir);
    if (!folder) GTEST_SKIP() << "no read-only folder on this system";
    TQtSettingsStore readOnly(*folder + "/korvo.ini");
    WriteInteger(readOnly, "Options", "Korvo", 2);
    EXPECT_THROW(readOnly.Flush(), ESettingsError);
}

TEST(QtSettingsStore, SettingsFileFromOptionOrEnvironment) {
    TScratchFolder dir;
    ::setenv(kSettingsEnvironmentVariable, (dir / "environment.ini").c_str(), 1);
    WriteInteger(*OpenSettingsStore(dir / "option.ini"), "Options", "Korvo", 2);
    WriteInteger(*OpenSettingsStore(std::nullopt), "Options", "Korvo", 3);
    ::unsetenv(kSettingsEnvironmentVariable);
    EXPECT_NE(ReadBytes(dir / "option.ini").find("Korvo=2"), std::string::npos);
    EXPECT_NE(ReadBytes(dir / "environment.ini").find("Korvo=3"), std::string::npos);
}

} // namespace
} // namespace korvo::test
