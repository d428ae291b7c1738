#include "common/settings.h"
#include "common/text_file.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvo {
namespace {

TEST(SplitLines, EndsLinesAtCrLfLfAndCr) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("a"), Lines{"a"});
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(SplitLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
}

TEST(TextFile, WritesCrLfAndReplacesInOneStep) {
    test::TScratchFolder scratch;
    std::filesystem::path dir = scratch.Path();
    std::string path = (dir / "out.txt").string();
    WriteTextLines(path, {"one", "two"});
    EXPECT_EQ(ReadFileBytes(path), "one\r\ntwo\r\n");
    WriteTextLines(path, {"x"});
    EXPECT_EQ(ReadTextLines(path), std::vector<std::string>{"x"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_THROW(WriteTextLines((dir / "missing" / "x.txt").string(), {"a"}), EFileError);
    EXPECT_THROW(ReadTextLines((dir / "missing.txt").string()), EFileError);
    EXPECT_THROW(ReadTextLines(dir.string()), EFileError);
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
    EXPECT_TRUE(store.KeyExists("SVF/Before"));
    EXPECT_FALSE(store.KeyExists("SVF/After"));
    EXPECT_THROW(ReadInteger(store, "SVF/Target", "AddressWidth"), ESettingsError);
    EXPECT_THROW(ReadInteger(store, "SVF/Target", "DataWidth"), ESettingsError);
    EXPECT_EQ(ReadIntegerOr(store, "SVF/Target", "DataWidth", 16), 16);
    EXPECT_EQ(ReadString(store, "Nowhere", "Nothing"), "");
    store.DeleteKey("SVF/Before");
    EXPECT_FALSE(store.KeyExists("SVF/Before/0"));
    EXPECT_TRUE(store.KeyExists("SVF/Target"));
    EXPECT_EQ(ParseInteger("-5"), -5);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("5x"), std::nullopt);
    EXPECT_EQ(ParseInteger("99999999999"), std::nullopt);
}

} // namespace
} // namespace korvo
