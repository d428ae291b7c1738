#include "assembler/syn_picoblaze.h"
#include "data_files.h"
#include "text/format_columns.h"
#include "text/source_formatter.h"

#include <gtest/gtest.h>

#include <random>

namespace korvo::test {
namespace {

std::string Format(const std::string& line, TCoreKind core = TCoreKind::pbt3,
                   TFormatColumns columns = {}) {
    TSynPicoBlaze scanner;
    return FormatLine(scanner, line, 1, core, columns);
}

// tests/data/text/formatter_lines.txt
TEST(FormatLine, GivesTheLayoutAndKeepsIt) {
    for (const auto& row : ReadCaseTable(DataPath("text/formatter_lines.txt"))) {
        TCoreKind core = *CoreKindFromName(row.Fields[0]);
        EXPECT_EQ(Format(row.Fields[1], core), row.Fields[2]) << "line " << row.Line;
        EXPECT_EQ(Format(row.Fields[2], core), row.Fields[2]) << "line " << row.Line;
    }
}

TEST(FormatLine, UsesTheGivenColumnsAndKeepsThemBounded) {
    EXPECT_EQ(Format("l: add s1, 2 ; x", TCoreKind::pbt3, {4, 10, 20}), "l:  ADD   s1, 2     ; x");
    EXPECT_EQ(Format("l: add s1, 2 ; x", TCoreKind::pbt3, {0, 0, 0}), "l: ADD s1, 2; x");
    // Columns in the wrong order: each pad only ever adds.
    EXPECT_EQ(Format("add s1, 2 ; x", TCoreKind::pbt3, {30, 20, 10}),
              std::string(30, ' ') + "ADD s1, 2; x");
    EXPECT_EQ(Format("LOAD s0, 1 ; c", TCoreKind::pbt3, {2000000000, 2000000000, 2000000000}),
              std::string(kMaxFormatColumn, ' ') + "LOAD s0, 1; c");
    EXPECT_EQ(Format("LOAD s0, 1 ; c", TCoreKind::pbt3, {-5, -5, -5}), "LOAD s0, 1; c");
    // The bytes after a NUL are kept.
    EXPECT_EQ(Format(std::string("LOAD s0,1 \0 rest", 16)),
              std::string(20, ' ') + "LOAD      s0, 1" + std::string("\0 rest", 6));
    EXPECT_EQ(Format(std::string("; a\0b", 5)), std::string("; a\0b", 5));
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
        for (TCoreKind core : {TCoreKind::pbt3, TCoreKind::pbtII}) {
            std::string once = FormatLine(scanner, line, 1, core, {});
            ASSERT_EQ(FormatLine(scanner, once, 1, core, {}), once) << line;
            ASSERT_EQ(SignificantKinds(scanner, once), SignificantKinds(scanner, line)) << line;
        }
    }
}

TEST(FormatColumns, ThreeNumbersUpTo1000OrTheDefaults) {
    EXPECT_EQ(ParseFormatColumns("20,30,50"), (TFormatColumns{20, 30, 50}));
    EXPECT_EQ(ParseFormatColumns("0,0,1000"), (TFormatColumns{0, 0, 1000}));
    EXPECT_EQ(ParseFormatColumns("8,4,2"), (TFormatColumns{8, 4, 2}));
    for (const char* bad : {"", "20,30", "20,30,50,60", "20,,50", "20,30,", "-1,30,50", "+1,30,50",
                            "20, 30,50", "20,30,1001", "20,30,99999999999", "a,b,c"})
        EXPECT_EQ(ParseFormatColumns(bad), std::nullopt) << bad;
    for (std::string bad : {"x", "", "-3", "1001"}) {
        TMemorySettingsStore broken;
        WriteFormatColumns(broken, {4, 12, 40});
        broken.WriteValue("Columns", "Column2", bad);
        EXPECT_EQ(ReadFormatColumns(broken), (TFormatColumns{20, 30, 50})) << bad;
    }
}

TEST(FormatLines, NumbersLinesAndKeepsTheirCount) {
    TSynPicoBlaze scanner;
    std::vector<std::string> lines{"start: load s0,$1", "", "  ;  note", "jump start"};
    EXPECT_EQ(FormatLines(scanner, lines, TCoreKind::pbt3, {}),
              (std::vector<std::string>{"start:              LOAD      s0, $01", "", "; note",
                                        "                    JUMP      start"}));
}

} // namespace
} // namespace korvo::test
