#include "output/bram.h"
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// tests/data/output/bram_loads.txt
TEST(Bram, LoadsInitialisationFiles) {
    TScratchFolder scratch;
    for (const auto& row : ReadCaseTable(OutputDataPath("bram_loads.txt"))) {
        SCOPED_TRACE("line " + std::to_string(row.Line));
        TBRAM bram;
        bram.SetName("buf");
        bram.SetSize(std::stoi(row.Fields[1]));
        bram.SetFileName(scratch.Write("init.mem", row.Fields[0]));
        TStringListLog log;
        bram.LoadInitFile(log);
        for (auto byte = row.Fields.begin() + 3; byte != row.Fields.end(); ++byte) {
            auto equals = byte->find('=');
            EXPECT_EQ(bram.Data.at(std::stoul(byte->substr(0, equals), nullptr, 16)),
                      std::stoi(byte->substr(equals + 1), nullptr, 16))
                << *byte;
        }
        std::vector<std::string> failure;
        if (!row.Fields[2].empty())
            failure.push_back("Failure: in BRAM 'buf' init: " + row.Fields[2]);
        EXPECT_EQ(log.Lines, failure);
    }
    TBRAM missing;
    missing.SetName("rom");
    missing.SetSize(4);
    missing.SetFileName("/nonexistent/dir/file.mem");
    TStringListLog log;
    missing.LoadInitFile(log);
    ASSERT_EQ(log.Lines.size(), 1u);
    EXPECT_TRUE(log.Lines[0].starts_with(
        "Failure: in BRAM 'rom' init: Cannot open file \"/nonexistent/dir/file.mem\"."));
    EXPECT_EQ(missing.Data, std::vector<std::uint8_t>(4, 0));
}

TEST(Bram, AddressAndSizeWrapAt65536AndNothingPastTheEnd) {
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
    bram.SetSize(2);
    bram.SetAddress(2);
    bram.Write(7);
    EXPECT_EQ(bram.Read(), 0);
    EXPECT_EQ(bram.Data, std::vector<std::uint8_t>(2, 0));
    TBRAM empty;
    empty.Write(1);
    EXPECT_EQ(empty.Read(), 0);
    EXPECT_EQ(empty.Size(), 0);
}

} // namespace
} // namespace korvo::test
