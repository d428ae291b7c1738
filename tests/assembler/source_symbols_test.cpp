// The names a source defines, as Go to Definition and the hints find them:
// line, kind and value, also in an included file and around an error.
#include "assembly_harness.h"

#include "assembler/source_symbols.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvo::test {
namespace {

TEST(SourceSymbols, LabelsEquatesAndPortsWithTheirLines) {
    std::string dir = MakeTestDirectory();
    WriteTestFile(dir + "defs.inc", "; shared\r\nlimit EQU 10\r\n");
    std::vector<std::string> lines{"INCL \"defs.inc\"",      "leds DSOUT $01",
                                   "count EQU s3",           "start: x: LOAD count, limit",
                                   "  JUMP nowhere ; error", "done: OUT count, leds"};
    auto symbols = CollectSourceSymbols(TCoreKind::pbt3, dir + "main.psm", lines);
    struct TExpected {
        const char* Name;
        const char* File;
        int Line;
        TSymbolKind Kind;
        int Value;
        const char* Description;
    };
    for (const TExpected& e : {
             TExpected{"leds", "main.psm", 2, skDevice, 1, "port $01"},
             TExpected{"COUNT", "main.psm", 3, skRegister, 3, "register s3"},
             TExpected{"start", "main.psm", 4, skLabel, 0, "label, address $000"},
             TExpected{"x", "main.psm", 4, skLabel, 0, "label, address $000"},
             TExpected{"done", "main.psm", 6, skLabel, 2, "label, address $002"},
             TExpected{"limit", "defs.inc", 2, skNumber, 10, "constant $0A (10)"},
         }) {
        const TSourceSymbol* symbol = FindSourceSymbol(symbols, e.Name);
        ASSERT_NE(symbol, nullptr) << e.Name;
        EXPECT_EQ(symbol->FileName, dir + e.File) << e.Name;
        EXPECT_EQ(symbol->Line, e.Line) << e.Name;
        EXPECT_EQ(symbol->Kind, e.Kind) << e.Name;
        EXPECT_EQ(symbol->Value, e.Value) << e.Name;
        EXPECT_EQ(DescribeSourceSymbol(*symbol, TCoreKind::pbt3), e.Description) << e.Name;
    }
    EXPECT_EQ(FindSourceSymbol(symbols, "nowhere"), nullptr);
    EXPECT_EQ(symbols.size(), 6u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace korvo::test
