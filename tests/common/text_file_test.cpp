#include "common/settings.h"
#include "common/text_file.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvo {
namespace {

using Lines = std::vector<std::string>;

TEST(TextFile, LinesEndAtCrLfLfAndCr) {
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
}

TEST(TextFile, WritesCrLfAndReplacesInOneStep) {
    test::TScratchFolder dir;
    WriteTextLines(dir / "out.txt", {"one", "two"});
    EXPECT_EQ(ReadFileBytes(dir / "out.txt"), "one\r\ntwo\r\n");
    WriteTextLines(dir / "out.txt", {"x"});
    EXPECT_EQ(ReadTextLines(dir / "out.txt"), Lines{"x"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    EXPECT_THROW(WriteTextLines(dir / "missing/x.txt", {"a"}), EFileError);
    EXPECT_THROW(ReadTextLines(dir / "missing.txt"), EFileError);
    EXPECT_THROW(ReadTextLines(dir.Path()), EFileError);
}

TEST(TextFile, PathParts) {
    EXPECT_EQ(DirectoryPart("/a/b/c.psm"), "/a/b/");
    EXPECT_EQ(DirectoryPart("c.psm"), "");
    EXPECT_EQ(DirectoryPart("out\\rom.vhd"), "out\\");
    EXPECT_EQ(BaseNameWithoutExtension("out\\rom.vhd"), "rom");
    EXPECT_EQ(BaseNameWithoutExtension("/x/y.tar.gz"), "y.tar");
    EXPECT_EQ(BaseNameWithoutExtension("noext"), "noext");
}

TEST(Settings, TypedReadsOnTextValues) {
    TMemorySettingsStore store;
    WriteInteger(store, "SVF/Before", "Count", 2);
    WriteString(store, "SVF/Before/0", "Chip", "XC");
    WriteString(store, "SVF/Target", "AddressWidth", "x1");
    EXPECT_EQ(ReadInteger(store, "SVF/Before", "Count"), 2);
    EXPECT_TRUE(store.KeyExists("SVF"));
    EXPECT_FALSE(store.KeyExists("SVF/After"));
    EXPECT_THROW(ReadInteger(store, "SVF/Target", "AddressWidth"), ESettingsError);
    EXPECT_THROW(ReadInteger(store, "SVF/Target", "DataWidth"), ESettingsError);
    EXPECT_EQ(ReadIntegerOr(store, "SVF/Target", "DataWidth", 16), 16);
    EXPECT_EQ(ReadString(store, "Nowhere", "Nothing"), "");
    store.DeleteKey("SVF/Before");
    EXPECT_FALSE(store.KeyExists("SVF/Before/0"));
    EXPECT_TRUE(store.KeyExists("SVF/Target"));
    for (auto [text, value] : {std::pair<const char*, std::optional<std::int32_t>>{"-5", -5},
                               {"+7", 7},
                               {"5x", std::nullopt},
                               {"99999999999", std::nullopt}})
        EXPECT_EQ(ParseInteger(text), value) << text;
}

} // namespace
} // namespace korvo
