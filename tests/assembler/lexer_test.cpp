#include "assembler/syn_picoblaze.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace korvo {
namespace {

using TokenList = std::vector<std::pair<TTokenKind, std::string>>;

TokenList Scan(const std::string& line) {
    TSynPicoBlaze scanner;
    TokenList tokens;
    scanner.SetLine(line, 1);
    for (int guard = 0; !scanner.GetEol() && guard < 1000; ++guard) {
        tokens.emplace_back(scanner.GetTokenKind(), std::string(scanner.GetToken()));
        scanner.Next();
    }
    return tokens;
}

struct ScanCase {
    std::string Line;
    TokenList Expected;
};

class ScannerTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScannerTest, SplitsLineIntoTokens) {
    EXPECT_EQ(Scan(GetParam().Line), GetParam().Expected) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScannerTest,
    ::testing::Values(
        ScanCase{"load s0, 1",
                 {{tkOpcode, "load"},
                  {tkSpace, " "},
                  {tkIdentifier, "s0"},
                  {tkComma, ","},
                  {tkSpace, " "},
                  {tkNumber, "1"}}},
        ScanCase{"LOAD", {{tkOpcode, "LOAD"}}}, ScanCase{"Load", {{tkIdentifier, "Load"}}},
        ScanCase{"equ EQU Equ",
                 {{tkDirective, "equ"},
                  {tkSpace, " "},
                  {tkDirective, "EQU"},
                  {tkSpace, " "},
                  {tkIdentifier, "Equ"}}},
        ScanCase{"12AB", {{tkNumber, "12"}, {tkIdentifier, "AB"}}},
        ScanCase{"0x10", {{tkNumber, "0"}, {tkIdentifier, "x10"}}},
        ScanCase{"$ffG %1012",
                 {{tkNumber, "$ff"},
                  {tkIdentifier, "G"},
                  {tkSpace, " "},
                  {tkNumber, "%101"},
                  {tkNumber, "2"}}},
        ScanCase{"$ %", {{tkNumber, "$"}, {tkSpace, " "}, {tkNumber, "%"}}},
        ScanCase{"\"a;b\" ; c", {{tkString, "\"a;b\""}, {tkSpace, " "}, {tkComment, "; c"}}},
        ScanCase{"\"open", {{tkString, "\"open"}}}, ScanCase{"\"\"", {{tkString, "\"\""}}},
        ScanCase{"\"\"\"x\"y", {{tkString, "\"\"\"x\""}, {tkIdentifier, "y"}}},
        ScanCase{"'A'", {{tkChar, "'A'"}}}, ScanCase{"''''", {{tkChar, "''''"}}},
        ScanCase{"'AB' 'x", {{tkChar, "'AB'"}, {tkSpace, " "}, {tkChar, "'x"}}},
        ScanCase{". # = \x80",
                 {{tkUnknown, "."},
                  {tkSpace, " "},
                  {tkUnknown, "#"},
                  {tkSpace, " "},
                  {tkUnknown, "="},
                  {tkSpace, " "},
                  {tkUnknown, "\x80"}}},
        ScanCase{":,*/+-|^&~([)]",
                 {{tkColon, ":"},
                  {tkComma, ","},
                  {tkStar, "*"},
                  {tkSlash, "/"},
                  {tkPlus, "+"},
                  {tkMinus, "-"},
                  {tkBar, "|"},
                  {tkCaret, "^"},
                  {tkAmpersand, "&"},
                  {tkTilde, "~"},
                  {tkOpen, "("},
                  {tkOpen, "["},
                  {tkClose, ")"},
                  {tkClose, "]"}}},
        ScanCase{" \t ", {{tkSpace, " \t "}}},
        ScanCase{"a\r\nb\rc\nd",
                 {{tkIdentifier, "a"},
                  {tkSpace, "\r\n"},
                  {tkIdentifier, "b"},
                  {tkSpace, "\r"},
                  {tkIdentifier, "c"},
                  {tkSpace, "\n"},
                  {tkIdentifier, "d"}}},
        ScanCase{"x;c\ny",
                 {{tkIdentifier, "x"}, {tkComment, ";c"}, {tkSpace, "\n"}, {tkIdentifier, "y"}}},
        ScanCase{std::string("ab\0cd", 5), {{tkIdentifier, "ab"}}},
        ScanCase{"_x1 end END macro",
                 {{tkIdentifier, "_x1"},
                  {tkSpace, " "},
                  {tkDirective, "end"},
                  {tkSpace, " "},
                  {tkDirective, "END"},
                  {tkSpace, " "},
                  {tkDirective, "macro"}}}));

TEST(Scanner, EndOfLineRepeatsWithoutMoving) {
    TSynPicoBlaze scanner;
    scanner.SetLine("x", 1);
    scanner.Next();
    EXPECT_TRUE(scanner.GetEol());
    int position = scanner.GetTokenPos();
    scanner.Next();
    EXPECT_EQ(scanner.GetTokenKind(), tkNull);
    EXPECT_EQ(scanner.GetTokenPos(), position);
}

TEST(Scanner, KeywordTableIsFilledExactly) {
    TSynPicoBlaze scanner;
    EXPECT_EQ(scanner.KeywordCount(), 104);
    EXPECT_EQ(scanner.KeywordKind("RETI"), tkOpcode);
    EXPECT_EQ(scanner.KeywordKind("reti"), tkOpcode);
    EXPECT_EQ(scanner.KeywordKind("Reti"), tkIdentifier);
    EXPECT_EQ(scanner.KeywordKind("INCL"), tkDirective);
}

TEST(Scanner, AttributesFollowTokenKinds) {
    TSynPicoBlaze scanner;
    ASSERT_EQ(scanner.Attributes().size(), 9u);
    EXPECT_EQ(scanner.Attributes()[atIllegalChar].Name, "Illegal char");
    scanner.SetLine("load", 1);
    ASSERT_NE(scanner.GetTokenAttribute(), nullptr);
    EXPECT_EQ(scanner.GetTokenAttribute()->Name, "Reserved word");
    scanner.SetLine("#", 1);
    EXPECT_EQ(scanner.GetTokenAttribute()->Name, "Identifier");
    scanner.SetLine(",", 1);
    EXPECT_EQ(scanner.GetTokenAttribute(), nullptr);
    scanner.SetLine("'a'", 1);
    EXPECT_EQ(scanner.GetTokenAttribute(), nullptr);
    EXPECT_EQ(scanner.GetDefaultAttribute(daKeyword)->Name, "Reserved word");
}

} // namespace
} // namespace korvo
