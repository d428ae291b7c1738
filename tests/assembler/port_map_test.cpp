#include "assembly.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvo::test {
namespace {

// The fields of a record that are not empty, as port_map.txt writes them.
std::string Describe(const TMemMapItem& item) {
    std::ostringstream out;
    auto field = [&](const char* name, const auto& value, bool set) {
        if (set) out << " " << name << "=" << value;
    };
    field("kind", int(item.Kind), item.Kind != TMemKind::None);
    field("value", int(item.Value), item.Value != 0);
    field("visible", 1, item.Visible);
    field("tcp", item.TcpPort, item.TcpPort != 0);
    field("in", item.InName, !item.InName.empty());
    field("out", item.OutName, !item.OutName.empty());
    field("infile", item.InFile, !item.InFile.empty());
    field("outfile", item.OutFile, !item.OutFile.empty());
    field("format", item.OutFormat, !item.OutFormat.empty());
    field("bram", 1, item.BlockRAM != nullptr);
    return out.str();
}

TEST(PortMap, DeclarationsFillTheRecords) {
    for (const auto& row : ReadCaseTable(DataPath("assembler/port_map.txt"))) {
        auto arrow = std::find(row.Fields.begin(), row.Fields.end(), "=>");
        ASSERT_NE(arrow, row.Fields.end()) << "line " << row.Line;
        TAssembly run;
        ASSERT_TRUE(run.Run({row.Fields.begin(), arrow}, "/src/prog.psm")) << row.Line;
        std::string expected;
        for (auto field = arrow + 2; field != row.Fields.end(); ++field)
            expected += " " + *field;
        int port = std::stoi(arrow[1][0] == '$' ? arrow[1].substr(1) : arrow[1], nullptr,
                             arrow[1][0] == '$' ? 16 : 10);
        EXPECT_EQ(Describe(run.Port(port)), expected) << "line " << row.Line;
    }
}

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
    EXPECT_EQ(Describe(map[0x20]), " kind=1 value=1");
    EXPECT_EQ(Describe(map[0x21]), " kind=1 value=2");
    EXPECT_EQ(Describe(map[0x22]), "");
    EXPECT_EQ(map[5].Kind, TMemKind::Input);
}

TEST(PortMap, BlockRamIsLoadedAndListed) {
    TScratchFolder scratch;
    scratch.Write("init.mem", "01 02 03\n@10 AA\n");
    TAssembly run;
    ASSERT_TRUE(
        run.Run({"table BROM $40, 300, \"init.mem\"", "BROM $42, 2, \"\""}, scratch / "p.psm"));
    const TBRAMList& brams = run.Parser.BlockRAMs();
    ASSERT_EQ(brams.size(), 2u);
    EXPECT_EQ(brams[0]->Name, "table");
    EXPECT_EQ(brams[0]->Port, 0x40);
    EXPECT_EQ(brams[0]->Size(), 300);
    EXPECT_EQ(brams[0]->FileName, scratch / "init.mem");
    EXPECT_EQ(brams[0]->Data[2], 3);
    EXPECT_EQ(brams[0]->Data[0x10], 0xAA);
    EXPECT_EQ(run.Port(0x40).BlockRAM, brams[0]);
    EXPECT_EQ(brams[1]->FileName, "");
    // The sink keeps its block RAM when the parser moves on.
    auto kept = run.Port(0x40).BlockRAM;
    ASSERT_TRUE(run.Run({"LOAD s0, 1"}, scratch / "p.psm"));
    EXPECT_TRUE(run.Parser.BlockRAMs().empty());
    EXPECT_EQ(kept->Data[1], 2);
    // A file that cannot be read is logged and the assembly goes on.
    ASSERT_TRUE(run.Run({"table BROM $40, 16, \"missing.mem\""}, "/nonexistent/p.psm"));
    ASSERT_EQ(run.Log.Lines.size(), 4u);
    EXPECT_TRUE(run.Log.Lines[2].starts_with(
        "Failure: in BRAM 'table' init: Cannot open file \"/nonexistent/missing.mem\"."));
}

} // namespace
} // namespace korvo::test
