#include "assembler/syn_picoblaze.h"
#include "text/source_formatter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace korvo {
namespace {

// Builds an expected line: each text starts at its column (the text before
// is padded with blanks to reach it).
std::string At(const std::vector<std::pair<std::size_t, std::string>>& parts) {
    std::string line;
    for (const auto& [column, text] : parts) {
        if (line.size() < column) line.append(column - line.size(), ' ');
        line += text;
    }
    return line;
}

std::string Format(const std::string& line, TCoreKind core = TCoreKind::pbt3,
                   TFormatColumns columns = {}) {
    TSynPicoBlaze scanner;
    return FormatLine(scanner, line, 1, core, columns);
}

struct FormatCase {
    TCoreKind Core;
    std::string Line;
    std::string Expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << "core " << int(c.Core) << " \"" << c.Line << "\"";
}

constexpr auto I = TCoreKind::pbtI;
constexpr auto II = TCoreKind::pbtII;
constexpr auto P3 = TCoreKind::pbt3;
constexpr auto CR = TCoreKind::pbtC;

class FormatLineTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLineTest, GivesCanonicalLayout) {
    EXPECT_EQ(Format(GetParam().Line, GetParam().Core), GetParam().Expected);
}

TEST_P(FormatLineTest, FormattingAgainChangesNothing) {
    std::string once = Format(GetParam().Line, GetParam().Core);
    EXPECT_EQ(Format(once, GetParam().Core), once);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, FormatLineTest,
    ::testing::Values(
        // The label line with the default columns.
        FormatCase{P3, "loop: load S3, $f ;count",
                   At({{0, "loop: "}, {20, "LOAD "}, {30, "s3, $0F"}, {50, "; count"}})},
        FormatCase{P3, "  \tLOAD   s0 ,  $ff   ;  c  ",
                   At({{20, "LOAD "}, {30, "s0, $FF"}, {50, "; c  "}})},
        FormatCase{P3, "EINT", At({{20, "EINT "}, {30, ""}})},
        FormatCase{P3, "org $10", At({{20, "ORG "}, {30, "$10"}})},
        FormatCase{P3, "max equ 255", At({{0, "max "}, {20, "EQU "}, {30, "255"}})},
        FormatCase{P3, "x:y: DSIN $0A", At({{0, "x: y: "}, {20, "DSIN "}, {30, "$0A"}})},
        // Text already past a column position is not padded.
        FormatCase{P3, "a_very_long_label_name: LOAD s0, 1",
                   At({{0, "a_very_long_label_name: LOAD "}, {30, "s0, 1"}})},
        FormatCase{P3, "this_label_runs_past_column_two_and_more: RET",
                   "this_label_runs_past_column_two_and_more: RET "},
        FormatCase{P3, "LOAD s0, a_name_long_enough_to_pass_column_three;c",
                   At({{20, "LOAD "}, {30, "s0, a_name_long_enough_to_pass_column_three; c"}})},
        FormatCase{P3, "", ""}, FormatCase{P3, " \t  ", ""}));

INSTANTIATE_TEST_SUITE_P(
    Comments, FormatLineTest,
    ::testing::Values(FormatCase{P3, "; text", "; text"}, FormatCase{P3, ";    text", "; text"},
                      FormatCase{P3, "\t;\ttext ", "; text "}, FormatCase{P3, ";", "; "},
                      FormatCase{P3, ";;rule", "; ;rule"},
                      FormatCase{P3, "RET ;;keep both",
                                 At({{20, "RET "}, {30, ""}, {50, ";;keep both"}})},
                      FormatCase{P3, "RET;", At({{20, "RET "}, {50, "; "}})},
                      FormatCase{P3, "RET ; \"a\" ; b", At({{20, "RET "}, {50, "; \"a\" ; b"}})},
                      // A semicolon inside a string does not start a comment.
                      FormatCase{P3, "x \"a;b\"", "x\"a;b\""}));

INSTANTIATE_TEST_SUITE_P(
    Registers, FormatLineTest,
    ::testing::Values(
        FormatCase{II, "s1f", "s1F"}, FormatCase{P3, "s1f", "s1f"}, FormatCase{I, "s1f", "s1f"},
        FormatCase{CR, "s1f", "s1f"}, FormatCase{I, "s0a", "sA"}, FormatCase{P3, "s0a", "sA"},
        FormatCase{CR, "S0a", "sA"}, FormatCase{II, "s0a", "s0A"}, FormatCase{II, "S7", "s07"},
        FormatCase{P3, "S7", "s7"}, FormatCase{I, "Sf", "sF"}, FormatCase{II, "Sf", "s0F"},
        FormatCase{II, "S1A", "s1A"}, FormatCase{II, "s2A", "s2A"}, FormatCase{P3, "s00", "s0"},
        FormatCase{P3, "sg", "sg"}, FormatCase{P3, "s0g", "s0g"}, FormatCase{P3, "x0a", "x0a"},
        FormatCase{P3, "s0ab", "s0ab"},
        FormatCase{II, "ADD S1F,S0c", At({{20, "ADD "}, {30, "s1F, s0C"}})}));

INSTANTIATE_TEST_SUITE_P(
    Words, FormatLineTest,
    ::testing::Values(FormatCase{P3, "c z nz nc enable", "C Z NZ NC ENABLE"},
                      FormatCase{P3, "Nz Enable", "NZ ENABLE"},
                      // Only those five words are upper-cased.
                      FormatCase{P3, "disable interrupt", "disable interrupt"},
                      // Mixed-case mnemonics are identifiers: not moved, not upper-cased;
                      // the blanks between words stay one blank.
                      FormatCase{P3, "Load s0, 1", "Load s0, 1"},
                      FormatCase{P3, "  Load   s0 , 1", "Load s0, 1"},
                      FormatCase{P3, "JUMP loop 5", At({{20, "JUMP "}, {30, "loop 5"}})},
                      // Text without white space between its tokens stays together.
                      FormatCase{P3, "12AB", "12AB"}, FormatCase{P3, "12 AB", "12 AB"},
                      FormatCase{P3, "$1 F", "$01 F"}, FormatCase{P3, "% 1", "% 1"},
                      FormatCase{P3, "$ f", "$ f"}, FormatCase{P3, "a,b", "a, b"},
                      FormatCase{P3, "'a' 'b'", "'a' 'b'"},
                      FormatCase{P3, "\"\" \"x\"", "\"\" \"x\""}));

INSTANTIATE_TEST_SUITE_P(
    Numbers, FormatLineTest,
    ::testing::Values(FormatCase{P3, "$f", "$0F"}, FormatCase{P3, "$0001", "$01"},
                      FormatCase{P3, "$abcd", "$ABCD"}, FormatCase{P3, "$0", "$00"},
                      FormatCase{P3, "$FFFFFFFF", "$FFFFFFFF"}, FormatCase{P3, "$000000001", "$01"},
                      FormatCase{P3, "007", "7"}, FormatCase{P3, "0", "0"},
                      FormatCase{P3, "2147483647", "2147483647"}, FormatCase{P3, "%0101", "%0101"},
                      FormatCase{P3, "%", "%"},
                      // Numbers the assembler cannot read stay as written.
                      FormatCase{P3, "$", "$"}, FormatCase{P3, "$123456789", "$123456789"},
                      FormatCase{P3, "2147483648", "2147483648"},
                      FormatCase{P3, "00099999999999", "00099999999999"}));

INSTANTIATE_TEST_SUITE_P(
    Operators, FormatLineTest,
    ::testing::Values(FormatCase{P3, "x EQU 1+2*3",
                                 At({{0, "x "}, {20, "EQU "}, {30, "1 + 2 * 3"}})},
                      FormatCase{P3, "LOAD s0, -1", At({{20, "LOAD "}, {30, "s0, - 1"}})},
                      FormatCase{P3, "LOAD s0, +1", At({{20, "LOAD "}, {30, "s0, + 1"}})},
                      FormatCase{P3, "a-b+k", "a - b + k"}, FormatCase{P3, "-1", " - 1"},
                      FormatCase{P3, "a/b|k^d&e", "a / b | k ^ d & e"}, FormatCase{P3, "~0", "~ 0"},
                      FormatCase{P3, "(1+2)", "( 1 + 2 )"}, FormatCase{P3, "[2]", "( 2 )"},
                      FormatCase{P3, "OUT s0,(s1)", At({{20, "OUT "}, {30, "s0, ( s1 )"}})},
                      FormatCase{P3, "a:b", "a: b"}));

INSTANTIATE_TEST_SUITE_P(
    Literals, FormatLineTest,
    ::testing::Values(FormatCase{P3, "'A'", "'A'"}, FormatCase{P3, "''''", "''''"},
                      FormatCase{P3, "LOAD s0, '''' ; quote",
                                 At({{20, "LOAD "}, {30, "s0, ''''"}, {50, "; quote"}})},
                      // Malformed literals are left for the assembler to report.
                      FormatCase{P3, "'AB'", "'AB'"},
                      FormatCase{P3, "LOAD s0, 'A ; c", At({{20, "LOAD "}, {30, "s0, 'A ; c"}})},
                      FormatCase{P3, "'", "'"}, FormatCase{P3, "\"open ; x", "\"open ; x"},
                      FormatCase{P3, "VHDL \"tpl.vhd\", \"out.vhd\"",
                                 At({{20, "VHDL "}, {30, "\"tpl.vhd\", \"out.vhd\""}})}));

INSTANTIATE_TEST_SUITE_P(UnknownCharacters, FormatLineTest,
                         ::testing::Values(FormatCase{P3, ".", "?."}, FormatCase{P3, "#", "?#"},
                                           FormatCase{P3, "a.b", "a?.b"},
                                           FormatCase{P3, ". .", "?.?."}, FormatCase{P3, "?", "?"},
                                           FormatCase{P3, "?.", "?."}, FormatCase{P3, "? .", "??."},
                                           FormatCase{P3, "x = 1", "x?=1"},
                                           FormatCase{P3, "\x80", "?\x80"}));

TEST(FormatLine, UsesTheGivenColumns) {
    TFormatColumns narrow{4, 10, 20};
    EXPECT_EQ(Format("l: add s1, 2 ; x", P3, narrow),
              At({{0, "l: "}, {4, "ADD "}, {10, "s1, 2"}, {20, "; x"}}));
    TFormatColumns none{0, 0, 0};
    EXPECT_EQ(Format("l: add s1, 2 ; x", P3, none), "l: ADD s1, 2; x");
    // Columns in the wrong order: each pad only ever adds.
    TFormatColumns reversed{30, 20, 10};
    EXPECT_EQ(Format("add s1, 2 ; x", P3, reversed), At({{30, "ADD s1, 2; x"}}));
}

TEST(FormatLine, HugeOrNegativeColumnsStayBounded) {
    TFormatColumns huge{2000000000, 2000000000, 2000000000};
    std::string line = Format("LOAD s0, 1 ; c", P3, huge);
    EXPECT_EQ(line, At({{kMaxFormatColumn, "LOAD s0, 1; c"}}));
    TFormatColumns negative{-5, -5, -5};
    EXPECT_EQ(Format("LOAD s0, 1 ; c", P3, negative), "LOAD s0, 1; c");
}

TEST(FormatLine, KeepsTheBytesAfterANul) {
    std::string line("LOAD s0,1 \0 rest", 16);
    EXPECT_EQ(Format(line), At({{20, "LOAD "}, {30, "s0, 1"}}) + std::string("\0 rest", 6));
    std::string comment("; a\0b", 5);
    EXPECT_EQ(Format(comment), comment);
}

// The token kinds the assembler acts on (white space and the characters it
// does not know left out).
std::vector<TTokenKind> SignificantKinds(TSynPicoBlaze& scanner, const std::string& line) {
    std::vector<TTokenKind> kinds;
    for (scanner.SetLine(line, 1); !scanner.GetEol(); scanner.Next())
        if (scanner.GetTokenKind() != tkSpace && scanner.GetTokenKind() != tkUnknown)
            kinds.push_back(scanner.GetTokenKind());
    return kinds;
}

TEST(FormatLine, GeneratedLinesKeepTheirTokensAndStayFormatted) {
    const std::string characters = " \t;:,*/+-|^&~()[]$%'\"?.#s0123456789aAbfFxzZ_\x80";
    const std::vector<std::string> words{"LOAD", "load", "Load", "EQU", "s0a",  "s1f", "S7",
                                         "$ff",  "%01",  "12",   "007", "''''", "'A'", "\"x\"",
                                         ";;",   "  ",   ",",    "?",   "$",    "%",   "enable"};
    std::mt19937 random(7);
    TSynPicoBlaze scanner;
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        for (int n = static_cast<int>(random() % 8); n > 0; --n)
            line += random() % 2 ? std::string(1, characters[random() % characters.size()])
                                 : words[random() % words.size()];
        for (TCoreKind core : {P3, II}) {
            std::string once = FormatLine(scanner, line, 1, core, {});
            ASSERT_EQ(FormatLine(scanner, once, 1, core, {}), once) << line;
            ASSERT_EQ(SignificantKinds(scanner, once), SignificantKinds(scanner, line)) << line;
        }
    }
}

TEST(FormatLines, NumbersLinesAndKeepsTheirCount) {
    TSynPicoBlaze scanner;
    std::vector<std::string> lines{"start: load s0,$1", "", "  ;  note", "jump start"};
    EXPECT_EQ(FormatLines(scanner, lines, P3, {}),
              (std::vector<std::string>{At({{0, "start: "}, {20, "LOAD "}, {30, "s0, $01"}}), "",
                                        "; note", At({{20, "JUMP "}, {30, "start"}})}));
}

} // namespace
} // namespace korvo
