#include "assembly_harness.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// The fields a declaration sets, without the block RAM reference.
struct TRecord {
    TRecord(std::uint8_t kind = mkNone, std::uint8_t value = 0, bool visible = false,
            std::int32_t tcpPort = 0, std::string inName = {}, std::string outName = {},
            std::string inFile = {}, std::string outFile = {}, std::string outFormat = {},
            bool hasBlockRAM = false)
        : Kind(kind), Value(value), Visible(visible), TcpPort(tcpPort), InName(std::move(inName)),
          OutName(std::move(outName)), InFile(std::move(inFile)), OutFile(std::move(outFile)),
          OutFormat(std::move(outFormat)), HasBlockRAM(hasBlockRAM) {}
    std::uint8_t Kind;
    std::uint8_t Value;
    bool Visible;
    std::int32_t TcpPort;
    std::string InName, OutName, InFile, OutFile, OutFormat;
    bool HasBlockRAM;
    friend bool operator==(const TRecord&, const TRecord&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TRecord& r) {
        return out << "{kind " << int(r.Kind) << ", value " << int(r.Value) << ", visible "
                   << r.Visible << ", tcp " << r.TcpPort << ", in '" << r.InName << "', out '"
                   << r.OutName << "', infile '" << r.InFile << "', outfile '" << r.OutFile
                   << "', format '" << r.OutFormat << "', bram " << r.HasBlockRAM << "}";
    }
};

TRecord RecordOf(const TMemMapItem& item) {
    return {item.Kind,    item.Value,  item.Visible, item.TcpPort,   item.InName,
            item.OutName, item.InFile, item.OutFile, item.OutFormat, item.BlockRAM != nullptr};
}

struct TPortCase {
    std::vector<std::string> Lines;
    int Port;
    TRecord Expected;
};

class PortMapTest : public ::testing::TestWithParam<TPortCase> {};

TEST_P(PortMapTest, DeclarationFillsRecord) {
    TAssembly run;
    ASSERT_TRUE(run.Run(GetParam().Lines, "/src/prog.psm")) << run.Log.Lines.back();
    EXPECT_EQ(RecordOf(run.Port(GetParam().Port)), GetParam().Expected) << GetParam().Lines.back();
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, PortMapTest,
    ::testing::Values(
        TPortCase{{"ram DSRAM $20, 1, 2"}, 0x20, {mkRAM, 1, false, 0, "ram", "ram"}},
        TPortCase{{"ram DSRAM $20, 1, 2"}, 0x21, {mkRAM, 2}},
        TPortCase{{"ram DSRAM $20, 1, 2"}, 0x22, {mkRAM, 0}},
        TPortCase{{"DSRAM $20"}, 0x2F, {mkRAM, 0}}, TPortCase{{"DSRAM $20"}, 0x30, {mkNone}},
        TPortCase{{"rom DSROM $F0, 0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,300"}, 0xFF, {mkROM, 0x2C}},
        TPortCase{{"rom DSROM $F0, -1,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15"},
                  0xF0,
                  {mkROM, 0xFF, false, 0, "rom", "rom"}},
        TPortCase{{"key DSIN 5, \"in.txt\""}, 5, {mkInput, 0, true, 0, "key", "", "/src/in.txt"}},
        TPortCase{
            {"DSIN 5, \"data/in.txt\""}, 5, {mkInput, 0, true, 0, "", "", "/src/data/in.txt"}},
        TPortCase{{"key DSIN 5", "led DSOUT 5, \"out.txt\", \"%2X\""},
                  5,
                  {mkInOut, 0, true, 0, "key", "led", "", "/src/out.txt", "%2X"}},
        TPortCase{{"led DSOUT 5", "DSIN 5, \"\""}, 5, {mkInOut, 0, true, 0, "", "led"}},
        TPortCase{{"bus DSIO 6, \"io.txt\", \"%d\""},
                  6,
                  {mkIO, 0, true, 0, "bus", "bus", "", "/src/io.txt", "%d"}},
        TPortCase{{"hid DS 7"}, 7, {mkIO, 0, false, 0, "hid", "hid"}},
        TPortCase{
            {"DSIN 7, \"a\"", "other DS 7"}, 7, {mkInput, 0, true, 0, "other", "other", "/src/a"}},
        TPortCase{{"com UART 4, 5000"}, 4, {mkUART, 0, false, 5000, "com", "com"}},
        TPortCase{{"com UART 4, 5000"}, 5, {mkUART, 0, false, -1}},
        TPortCase{{"tcp EQU 4000", "UART $FE, tcp + 1"}, 0xFE, {mkUART, 0, false, 4001}},
        TPortCase{
            {"big BROM 6, 512, \"\""}, 6, {mkBlockRAM, 0, true, 0, "big", "big", "", "", "", true}},
        TPortCase{{"big BROM 7, 512, \"\""}, 6, {mkBlockRAM, 0, true}},
        TPortCase{{"small BROM 6, 255, \"\""}, 7, {mkNone}}));

// A declaration that fails keeps what it changed before the error.
TEST(PortMap, FailedLineKeepsEarlierChanges) {
    TSynPicoBlaze parser;
    TAssemblyImage image(TCoreKind::pbt3);
    parser.SelectCore(TCoreKind::pbt3);
    parser.BeginPasses(image);
    EXPECT_EQ(parser.ParsePass2("DSRAM $20, 1, 2, nowhere", 0, image).Text,
              "?Undefined|An undefined identifier found.");
    EXPECT_EQ(parser.ParsePass2("DSIN 5, 6", 1, image).Text,
              "?Syntax|String expected for the associated file");
    TMemMap map = parser.ParsePass3();
    EXPECT_EQ(map[0x20].Kind, mkRAM);
    EXPECT_EQ(map[0x21].Value, 2);
    EXPECT_EQ(map[0x22].Kind, mkNone);
    EXPECT_EQ(map[5].Kind, mkInput);
}

TEST(PortMap, BlockRamIsLoadedAndListed) {
    TScratchFolder scratch;
    std::string dir = scratch.Path() + "/";
    WriteTestFile(dir + "init.mem", "01 02 03\n@10 AA\n");
    TAssembly run;
    ASSERT_TRUE(run.Run({"table BROM $40, 300, \"init.mem\"", "BROM $42, 2, \"\""}, dir + "p.psm"));
    const TBRAMList& brams = run.Parser.BlockRAMs();
    ASSERT_EQ(brams.size(), 2u);
    EXPECT_EQ(brams[0]->Name, "table");
    EXPECT_EQ(brams[0]->Port, 0x40);
    EXPECT_EQ(brams[0]->Size(), 300);
    EXPECT_EQ(brams[0]->FileName, dir + "init.mem");
    EXPECT_EQ(brams[0]->Data[2], 3);
    EXPECT_EQ(brams[0]->Data[0x10], 0xAA);
    EXPECT_EQ(run.Port(0x40).BlockRAM, brams[0]);
    EXPECT_EQ(brams[1]->FileName, "");

    // The sink keeps its block RAM when the parser moves on.
    auto kept = run.Port(0x40).BlockRAM;
    ASSERT_TRUE(run.Run({"LOAD s0, 1"}, dir + "p.psm"));
    EXPECT_TRUE(run.Parser.BlockRAMs().empty());
    EXPECT_EQ(kept->Data[1], 2);
}

TEST(PortMap, BlockRamLoadFailureIsLoggedAndAssemblyGoesOn) {
    TAssembly run;
    ASSERT_TRUE(run.Run({"table BROM $40, 16, \"missing.mem\""}, "/nonexistent/p.psm"));
    ASSERT_EQ(run.Log.Lines.size(), 4u);
    EXPECT_TRUE(run.Log.Lines[2].starts_with(
        "Failure: in BRAM 'table' init: Cannot open file \"/nonexistent/missing.mem\"."))
        << run.Log.Lines[2];
    EXPECT_EQ(run.Log.Lines[3], "Assembler Phase 3: building simulation objects");
}

} // namespace
} // namespace korvo::test
