// The HEX records worked out by hand, beyond the expected files.
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// Writes the HEX file of a program that has only the given words and
// returns its lines.
std::vector<std::string> WriteHex(TCoreKind kind, std::vector<std::pair<int, std::uint32_t>> code) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(kind, EmptyProgram(kind));
    for (auto [address, word] : code)
        job.Words[static_cast<std::size_t>(address)] = word;
    job.HexFileName = dir / "out.hex";
    RunWriters(job, settings);
    return SplitCrLf(ReadBytes(job.HexFileName));
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
    auto lines = WriteHex(GetParam().Kind, GetParam().Code);
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
        auto lines = WriteHex(kind, {});
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(CoreDescription(kind).CodeSize / 8 + 1));
        EXPECT_EQ(lines.back(), ";00000001FF");
    }
}

} // namespace
} // namespace korvo::test
