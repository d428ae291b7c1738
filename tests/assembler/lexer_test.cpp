#include "assembler/syn_picoblaze.h"
#include "data_files.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

const char* const kKindNames[] = {
    "",       "comment", "directive", "identifier", "opcode", "null", "number", "space",
    "string", "char",    "symbol",    "colon",      "comma",  "star", "slash",  "plus",
    "minus",  "bar",     "caret",     "ampersand",  "tilde",  "open", "close",  "unknown"};

// tests/data/assembler/tokens.txt
TEST(Scanner, SplitsLinesIntoTokens) {
    TSynPicoBlaze scanner;
    for (const auto& row : ReadCaseTable(DataPath("assembler/tokens.txt"))) {
        std::vector<std::string> tokens;
        scanner.SetLine(row.Fields[0], 1);
        for (int guard = 0; !scanner.GetEol() && guard < 1000; scanner.Next(), ++guard) {
            tokens.push_back(kKindNames[scanner.GetTokenKind()]);
            tokens.emplace_back(scanner.GetToken());
        }
        EXPECT_EQ(tokens, std::vector<std::string>(row.Fields.begin() + 1, row.Fields.end()))
            << "line " << row.Line;
    }
}

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

TEST(Scanner, KeywordsAndTheirAttributes) {
    TSynPicoBlaze scanner;
    EXPECT_EQ(scanner.KeywordKind("reti"), tkOpcode);
    EXPECT_EQ(scanner.KeywordKind("Reti"), tkIdentifier);
    EXPECT_EQ(scanner.KeywordKind("INCL"), tkDirective);
    EXPECT_EQ(TSynPicoBlaze::AttributeOfKind(tkOpcode), atReservedWord);
    EXPECT_EQ(TSynPicoBlaze::AttributeOfKind(tkUnknown), atIdentifier);
    EXPECT_EQ(TSynPicoBlaze::AttributeOfKind(tkComma), atNone);
    EXPECT_EQ(TSynPicoBlaze::AttributeOfKind(tkChar), atNone);
}

} // namespace
} // namespace korvo::test
