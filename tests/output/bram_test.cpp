#include "output/bram.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

namespace korvo {
namespace {

struct TLoadCase {
    std::string Contents;
    int Size;
    std::vector<std::pair<int, int>> Bytes; // address, expected value
    std::string Failure;                    // expected log line after the prefix, empty: none
};

class BramLoadTest : public ::testing::TestWithParam<TLoadCase> {};

TEST_P(BramLoadTest, LoadsInitialisationFile) {
    TBRAM bram;
    bram.SetName("buf");
    bram.SetSize(GetParam().Size);
    test::TScratchFolder scratch;
    bram.SetFileName(scratch.Write("init.mem", GetParam().Contents));
    TStringListLog log;
    bram.LoadInitFile(log);
    for (auto [address, value] : GetParam().Bytes)
        EXPECT_EQ(bram.Data.at(static_cast<std::size_t>(address)), value) << address;
    if (GetParam().Failure.empty()) {
        EXPECT_TRUE(log.Lines.empty());
    } else {
        ASSERT_EQ(log.Lines.size(), 1u);
        EXPECT_EQ(log.Lines[0], "Failure: in BRAM 'buf' init: " + GetParam().Failure);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, BramLoadTest,
    ::testing::Values(
        TLoadCase{
            "@0010 0A 0B,0C\n", 32, {{0x10, 0x0A}, {0x11, 0x0B}, {0x12, 0x0C}, {0x13, 0}}, ""},
        TLoadCase{"  01 , 02,,03 ,\r\n\r\n, 04  ", 8, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, ""},
        TLoadCase{"01 02 03\n@1 ff\n", 4, {{0, 1}, {1, 0xFF}, {2, 3}}, ""},
        TLoadCase{"1FF 123456", 4, {{0, 0xFF}, {1, 0x56}}, ""},
        TLoadCase{"aB Cd", 2, {{0, 0xAB}, {1, 0xCD}}, ""},
        TLoadCase{"01 02 03 04", 2, {{0, 1}, {1, 2}}, ""},
        TLoadCase{"@FFFF 01 02", 2, {{0, 2}, {1, 0}}, ""},
        TLoadCase{"01 0G 03", 4, {{0, 1}, {1, 0}, {2, 0}}, "'0G' is not a valid hexadecimal value"},
        TLoadCase{"01\n@ 02", 4, {{0, 1}, {1, 0}}, "'' is not a valid hexadecimal value"},
        TLoadCase{"01\t02", 4, {{0, 0}}, "'01\t02' is not a valid hexadecimal value"},
        TLoadCase{"", 0, {}, ""}));

TEST(Bram, MissingFileLeavesZeroesAndLogsOnce) {
    TBRAM bram;
    bram.SetName("rom");
    bram.SetSize(4);
    bram.SetFileName("/nonexistent/dir/file.mem");
    TStringListLog log;
    bram.LoadInitFile(log);
    ASSERT_EQ(log.Lines.size(), 1u);
    EXPECT_TRUE(log.Lines[0].starts_with(
        "Failure: in BRAM 'rom' init: Cannot open file \"/nonexistent/dir/file.mem\"."));
    EXPECT_EQ(bram.Data, std::vector<std::uint8_t>(4, 0));
}

TEST(Bram, AddressAndSizeWrapAt65536) {
    TBRAM bram;
    bram.SetSize(65536 + 3);
    EXPECT_EQ(bram.Size(), 3);
    bram.SetSize(-1);
    EXPECT_EQ(bram.Size(), 65535);
    bram.SetAddress(0x12345);
    EXPECT_EQ(bram.Address(), 0x2345);
    EXPECT_EQ(bram.AddressHigh, 0x23);
    EXPECT_EQ(bram.AddressLow, 0x45);
    bram.Write(0x1AB);
    EXPECT_EQ(bram.Read(), 0xAB);
    EXPECT_EQ(bram.Address(), 0x2345);
}

TEST(Bram, AccessPastTheEndTouchesNothing) {
    TBRAM bram;
    bram.SetSize(2);
    bram.SetAddress(2);
    bram.Write(7);
    EXPECT_EQ(bram.Read(), 0);
    EXPECT_EQ(bram.Data, std::vector<std::uint8_t>(2, 0));
    TBRAM empty;
    empty.SetAddress(0);
    empty.Write(1);
    EXPECT_EQ(empty.Read(), 0);
    EXPECT_EQ(empty.Size(), 0);
}

} // namespace
} // namespace korvo
