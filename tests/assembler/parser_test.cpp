#include "assembly.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvo::test {
namespace {

// tests/data/assembler/parser_passes.txt
TEST(ParserPasses, ResultsOfSingleLines) {
    auto parser = std::make_unique<TSynPicoBlaze>();
    auto image = std::make_unique<TAssemblyImage>(TCoreKind::pbt3);
    auto start = [&] {
        parser = std::make_unique<TSynPicoBlaze>();
        image = std::make_unique<TAssemblyImage>(TCoreKind::pbt3);
        parser->SelectCore(TCoreKind::pbt3);
        parser->BeginPasses(*image);
    };
    start();
    for (const auto& row : ReadCaseTable(DataPath("assembler/parser_passes.txt"))) {
        const auto& f = row.Fields;
        SCOPED_TRACE("line " + std::to_string(row.Line));
        if (f[0] == "new") {
            start();
        } else if (f[0] == "address") {
            EXPECT_EQ(parser->Address(), std::stoi(f[1]));
        } else {
            std::string result;
            if (f[0] == "pass1") {
                result = parser->ParsePass1(f[1], std::stoi(f[2]), *image);
            } else {
                auto pass2 = parser->ParsePass2(f[1], std::stoi(f[2]), *image);
                EXPECT_EQ(pass2.Error, pass2.Text.starts_with("?"));
                result = pass2.Text;
            }
            if (f[3].ends_with("*"))
                EXPECT_TRUE(result.starts_with(f[3].substr(0, f[3].size() - 1))) << result;
            else
                EXPECT_EQ(result, f[3]);
        }
    }
}

TEST(ParserPasses, Pass3HandsOverThePortMapAndFreesTheSymbols) {
    TSynPicoBlaze parser;
    TAssemblyImage image(TCoreKind::pbt3);
    parser.SelectCore(TCoreKind::pbt3);
    parser.BeginPasses(image);
    parser.ParsePass2("DSIN 5", 0, image);
    EXPECT_GT(parser.Symbols().Count(), 0u);
    EXPECT_EQ(parser.ParsePass3()[5].Kind, TMemKind::Input);
    EXPECT_EQ(parser.Symbols().Count(), 0u);
}

TEST(ParserCore, PredefinedNamesFollowTheCore) {
    TSynPicoBlaze parser;
    TAssemblyImage image(TCoreKind::pbtII);
    parser.SelectCore(TCoreKind::pbtII);
    parser.SelectCore(TCoreKind::none); // leaves the selection
    parser.BeginPasses(image);
    const TSymbolTable& symbols = parser.Symbols();
    EXPECT_EQ(SymbolKindOf(*symbols.Find("s1f")), skRegister);
    EXPECT_EQ(SymbolValueOf(*symbols.Find("S1F")), 31);
    EXPECT_FALSE(symbols.Find("s1"));
    EXPECT_EQ(SymbolValueOf(*symbols.Find("nc")), 7);
    EXPECT_EQ(SymbolKindOf(*symbols.Find("Disable")), skInterruptOption);
    EXPECT_EQ(SymbolKindOf(*symbols.Find("incl")), skDirective);
    TSymbolValue call = *symbols.Find("CALL");
    EXPECT_EQ(SymbolKindOf(call), skMnemonic);
    EXPECT_EQ(SymbolValueOf(call), 0x36000);
    EXPECT_EQ(SymbolFormatOf(call), 2);
    // Values are kept in 18 bits.
    TSymbolValue packed = PackSymbolValue(-1, skMnemonic, 10);
    EXPECT_EQ(SymbolValueOf(packed), 0x3FFFF);
    EXPECT_EQ(SymbolKindOf(packed), skMnemonic);
    EXPECT_EQ(SymbolFormatOf(packed), 10);
}

} // namespace
} // namespace korvo::test
