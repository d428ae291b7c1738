#include "assembler/syn_picoblaze.h"
#include "common/assembly_sink.h"

#include <gtest/gtest.h>

namespace korvo {
namespace {

// The parser's passes called directly, for results that a consistent run
// through the driver never produces.
class ParserPasses : public ::testing::Test {
protected:
    void SetUp() override {
        parser.SelectCore(TCoreKind::pbt3);
        parser.BeginPasses(image);
    }
    std::string Pass1(const std::string& line, int index = 0) {
        return parser.ParsePass1(line, index, image);
    }
    std::string Pass2(const std::string& line, int index = 0) {
        return parser.ParsePass2(line, index, image).Text;
    }
    TSynPicoBlaze parser;
    TAssemblyImage image{TCoreKind::pbt3};
};

TEST_F(ParserPasses, EquatesAreComparedAcrossPasses) {
    EXPECT_EQ(Pass2("x EQU 5"),
              "?Phasing|Identifier has different values for the 1st and 2nd pass.");
    EXPECT_EQ(Pass1("x EQU 5"), " ");
    EXPECT_EQ(Pass2("x EQU 6"), "?Double|Doubly defined identifier.");
    EXPECT_EQ(Pass2("x EQU 'A'-60"), "?Double|Differently defined identifier.");
    EXPECT_EQ(Pass2("x EQU 5"), "$05");
    EXPECT_EQ(Pass2("EQU 5"), "?Equate|No identifier supplied");
    EXPECT_EQ(Pass1("m EQU -1"), " ");
    EXPECT_EQ(Pass2("m EQU -1"), "$3FFFF");
    EXPECT_EQ(Pass2("m EQU $3FFFF"), "$3FFFF");
}

TEST_F(ParserPasses, LabelsAreComparedAcrossPasses) {
    EXPECT_EQ(Pass2("nowhere: LOAD s0, 1"), "?Label|Label not found");
    EXPECT_EQ(Pass1("x EQU 1"), " ");
    EXPECT_EQ(Pass2("x: LOAD s0, 1"), "?Label|Label expected, but other identifier found.");
    EXPECT_EQ(Pass1("here:", 0), " ");
    EXPECT_EQ(Pass2("LOAD s0, 1", 0), "$000 $00001");
    EXPECT_EQ(Pass2("here:", 1),
              "?Phasing|Phasing Error:Mismatch between label values in 1st and 2nd Pass.");
}

TEST_F(ParserPasses, MixedCaseKeywordIsAnIdentifier) {
    EXPECT_EQ(Pass1("Load s0, 1"), "?Syntax|Identifier not expected here");
    EXPECT_EQ(Pass2("Load s0, 1"), "?Colon|Label without colon or an unknown opcode.");
    EXPECT_EQ(Pass2("LOAD s0, 1", 1), "$000 $00001");
    EXPECT_EQ(Pass2("load s0, 1", 2), "$001 $00001");
}

TEST_F(ParserPasses, IncludeOperandsAreCheckedInPass2) {
    EXPECT_EQ(Pass2("INCL 5"), "?Syntax|Strings expected for include files");
    EXPECT_EQ(Pass2("INCL \"a\", \"b\""), "");
}

TEST_F(ParserPasses, ErrorFlagFollowsTheText) {
    auto good = parser.ParsePass2("LOAD s0, 1", 0, image);
    EXPECT_FALSE(good.Error);
    auto bad = parser.ParsePass2("LOAD s0, nothing", 1, image);
    EXPECT_TRUE(bad.Error);
    EXPECT_EQ(bad.Text, "?Undefined|An undefined identifier found.");
}

TEST_F(ParserPasses, AddressRestartsAtLineZeroAndAdvancesOnBadLines) {
    Pass1("LOAD s0, 1", 0);
    Pass1("LOAD s0, 1", 1);
    EXPECT_EQ(parser.Address(), 2);
    Pass1("ORG 10", 2);
    EXPECT_EQ(parser.Address(), 10);
    Pass1("x EQU 1", 0);
    EXPECT_EQ(parser.Address(), 0);
    EXPECT_TRUE(Pass2("JUMP 5000", 0).starts_with("?Too Far"));
    EXPECT_EQ(parser.Address(), 1);
    EXPECT_TRUE(Pass2("junk LOAD s0, 1", 1).starts_with("?Colon"));
    EXPECT_EQ(parser.Address(), 2);
    EXPECT_TRUE(Pass2("5 ORG 100", 2).starts_with("?Syntax"));
    EXPECT_EQ(parser.Address(), 100);
    EXPECT_TRUE(Pass2("ORG s3", 3).starts_with("?Address"));
    EXPECT_EQ(parser.Address(), 3);
}

TEST_F(ParserPasses, Pass3HandsOverThePortMapAndFreesTheSymbols) {
    Pass2("DSIN 5");
    EXPECT_GT(parser.Symbols().Count(), 0u);
    TMemMap map = parser.ParsePass3();
    EXPECT_EQ(map[5].Kind, mkInput);
    EXPECT_EQ(parser.Symbols().Count(), 0u);
}

TEST(ParserCore, SelectCoreIgnoresAKindOfNoCore) {
    TSynPicoBlaze parser;
    parser.SelectCore(TCoreKind::pbtC);
    EXPECT_EQ(parser.SelectedCore(), TCoreKind::pbtC);
    parser.SelectCore(TCoreKind::none);
    EXPECT_EQ(parser.SelectedCore(), TCoreKind::pbtC);
}

TEST(ParserCore, PredefinedNamesFollowTheCore) {
    TSynPicoBlaze parser;
    TAssemblyImage image(TCoreKind::pbtII);
    parser.SelectCore(TCoreKind::pbtII);
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
}

TEST(SymbolValue, PacksValueKindAndFormat) {
    TSymbolValue packed = PackSymbolValue(0x7FFFF, skLabel);
    EXPECT_EQ(SymbolValueOf(packed), 0x3FFFF);
    EXPECT_EQ(SymbolKindOf(packed), skLabel);
    EXPECT_EQ(SymbolFormatOf(packed), 0);
    packed = PackSymbolValue(-1, skMnemonic, 10);
    EXPECT_EQ(SymbolValueOf(packed), 0x3FFFF);
    EXPECT_EQ(SymbolKindOf(packed), skMnemonic);
    EXPECT_EQ(SymbolFormatOf(packed), 10);
}

} // namespace
} // namespace korvo
