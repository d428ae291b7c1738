// Edge cases of the COE, MEM and HEX files beyond the expected files.
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// Writes one file for a program that has only the given words and returns
// its lines.
std::vector<std::string> WriteOne(TCoreKind kind, std::vector<std::pair<int, std::uint32_t>> code,
                                  std::string TOutputJob::*file, int coeWidth = 8) {
    TTempDir dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(kind, EmptyProgram(kind));
    for (auto [address, word] : code)
        job.Words[static_cast<std::size_t>(address)] = word;
    job.*file = dir / "out";
    job.CoeWidth = coeWidth;
    RunWriters(job, settings);
    return SplitCrLf(ReadBytes(dir / "out"));
}

struct THexRecordCase {
    const char* Name;
    TCoreKind Kind;
    std::vector<std::pair<int, std::uint32_t>> Code;
    std::size_t Record;
    std::string Expected;
};

class HexRecords : public ::testing::TestWithParam<THexRecordCase> {};

TEST_P(HexRecords, LayoutAndChecksum) {
    auto lines = WriteOne(GetParam().Kind, GetParam().Code, &TOutputJob::HexFileName);
    ASSERT_GT(lines.size(), GetParam().Record);
    EXPECT_EQ(lines[GetParam().Record], GetParam().Expected);
}

const std::string kZeros28(28, '0');
const std::string kZeros32(32, '0');

INSTANTIATE_TEST_SUITE_P(
    HexFile, HexRecords,
    ::testing::Values(
        // The checksum starts from 8 * record + 16 and is the one's complement.
        THexRecordCase{"EmptyFirst", TCoreKind::pbtI, {}, 0, ";10000000" + kZeros32 + "EF"},
        THexRecordCase{"EmptySecond", TCoreKind::pbtI, {}, 1, ";10001000" + kZeros32 + "E7"},
        THexRecordCase{"EmptyLast1024", TCoreKind::pbt3, {}, 127, ";1007F000" + kZeros32 + "F7"},
        // Low byte first; 16 + 34 + 12 = 56.
        THexRecordCase{
            "LowByteFirst", TCoreKind::pbtC, {{0, 0x1234}}, 0, ";100000003412" + kZeros28 + "A9"},
        // Bits 17:16 are not written but count: 16 + FF + 3FF = 50E.
        THexRecordCase{"EighteenBitWord",
                       TCoreKind::pbtII,
                       {{0, 0x3FFFF}},
                       0,
                       ";10000000FFFF" + kZeros28 + "F1"},
        // The last words of a record; 24 + 4 * FF = 414 wraps past one byte.
        THexRecordCase{"WrappingSum",
                       TCoreKind::pbtI,
                       {{15, 0xFFFF}, {14, 0xFFFF}},
                       1,
                       ";10001000" + std::string(24, '0') + "FFFFFFFF" + "EB"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HexFile, RecordCountAndEndRecord) {
    for (TCoreKind kind : {TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3, TCoreKind::pbtC}) {
        auto lines = WriteOne(kind, {}, &TOutputJob::HexFileName);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(CoreTraits(kind).CodeSize / 8 + 1));
        EXPECT_EQ(lines.back(), ";00000001FF");
    }
}

struct TCoeCase {
    const char* Name;
    TCoreKind Kind;
    int Width;
    std::vector<std::pair<int, std::uint32_t>> Code;
    std::string Header;
    std::string FirstData;
    std::string LastData;
    std::size_t Lines;
};

class CoeFiles : public ::testing::TestWithParam<TCoeCase> {};

TEST_P(CoeFiles, HeaderItemsAndEnding) {
    const TCoeCase& param = GetParam();
    auto lines = WriteOne(param.Kind, param.Code, &TOutputJob::CoeFileName, param.Width);
    ASSERT_EQ(lines.size(), param.Lines);
    EXPECT_EQ(lines[0], "memory_initialization_radix=16;");
    EXPECT_EQ(lines[1], param.Header);
    EXPECT_EQ(lines[2], "memory_initialization_vector=");
    EXPECT_EQ(lines[3], param.FirstData);
    EXPECT_EQ(lines.back(), param.LastData);
}

INSTANTIATE_TEST_SUITE_P(
    CoeFile, CoeFiles,
    ::testing::Values(TCoeCase{"Width16",
                               TCoreKind::pbtI,
                               16,
                               {{0, 0xABCD}, {255, 0x1}},
                               "global_init_value=0000;",
                               "ABCD, 0000, 0000, 0000, 0000, 0000, 0000, 0000, ",
                               "0000, 0000, 0000, 0000, 0000, 0000, 0000, 0001; ",
                               35},
                      TCoeCase{"Width8LowByteFirst",
                               TCoreKind::pbtC,
                               8,
                               {{0, 0xABCD}},
                               "global_init_value=00;",
                               "CD, AB, " +
                                   [] {
                                       std::string rest;
                                       for (int i = 0; i < 14; ++i)
                                           rest += "00, ";
                                       return rest;
                                   }(),
                               [] {
                                   std::string last;
                                   for (int i = 0; i < 15; ++i)
                                       last += "00, ";
                                   return last + "00; ";
                               }(),
                               35},
                      // Width 8 on an 18-bit core: the high item has up to three digits.
                      TCoeCase{"Width8EighteenBit",
                               TCoreKind::pbt3,
                               8,
                               {{0, 0x3FFFF}, {1023, 0x2A5}},
                               "global_init_value=00;",
                               "FF, 3FF, " +
                                   [] {
                                       std::string rest;
                                       for (int i = 0; i < 14; ++i)
                                           rest += "00, ";
                                       return rest;
                                   }(),
                               [] {
                                   std::string last;
                                   for (int i = 0; i < 14; ++i)
                                       last += "00, ";
                                   return last + "A5, 02; ";
                               }(),
                               131},
                      TCoeCase{"Width18",
                               TCoreKind::pbtII,
                               18,
                               {{0, 0x3FFFF}, {1, 0x1}},
                               "global_init_value=00000;",
                               "3FFFF, 00001, 00000, 00000, 00000, 00000, 00000, 00000, ",
                               "00000, 00000, 00000, 00000, 00000, 00000, 00000, 00000; ",
                               131}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MemFile, AddressesAreByteAddresses) {
    auto narrow = WriteOne(TCoreKind::pbtI, {{16, 0xBEEF}}, &TOutputJob::MemFileName);
    ASSERT_EQ(narrow.size(), 16u);
    EXPECT_EQ(narrow[1].substr(0, 12), "@0020  BEEF ");
    EXPECT_EQ(narrow.back().substr(0, 5), "@01E0");
    auto wide = WriteOne(TCoreKind::pbtII, {{16, 0x3BEEF}}, &TOutputJob::MemFileName);
    ASSERT_EQ(wide.size(), 64u);
    EXPECT_EQ(wide[1].substr(0, 16), "@0040  0003BEEF ");
    EXPECT_EQ(wide.back().substr(0, 5), "@0FC0");
    for (const auto& line : wide)
        EXPECT_EQ(line.back(), ' ');
}

} // namespace
} // namespace korvo::test
