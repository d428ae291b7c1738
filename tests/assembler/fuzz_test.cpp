// Random bytes and random token soups through the driver: every run must end
// (no crash, no hang) with a listing of one entry per line, and every bad
// line must be reported exactly once, as a log line pointing at a "?" entry.

#include "assembly.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <random>

namespace korvo::test {
namespace {

const std::vector<std::string> kVocabulary{
    "LOAD",       "load", "JUMP",  "CALL", "RET",    "RETI",      "EINT", "DINT",  "SR0",
    "RL",         "ADD",  "SUBC",  "TEST", "COMP",   "IN",        "OUT",  "FETCH", "STORE",
    "INST",       "EQU",  "equ",   "ORG",  "DSROM",  "DSRAM",     "DSIN", "DSOUT", "DSIO",
    "DS",         "BROM", "UART",  "VHDL", "COE",    "INC",       "SVF",  "HEX",   "MEM",
    "EXEC",       "INCL", "MACRO", "END",  "s0",     "s7",        "sF",   "s1F",   "s00",
    "Z",          "NZ",   "C",     "NC",   "ENABLE", "DISABLE",   "lbl",  "x",     "Load",
    "0",          "1",    "255",   "256",  "1023",   "$FF",       "$",    "%",     "%101",
    "2147483648", "'A'",  "''''",  "'x",   "'AB'",   "\"a.txt\"", "\"",   "\"\"",  ":",
    ",",          "*",    "/",     "+",    "-",      "|",         "^",    "&",     "~",
    "(",          ")",    "[",     "]",    ";c",     "#",         ".",    "=",     "\t",
    " ",          "  ",   "\x80",  "\xFF", "@"};

std::string TokenSoup(std::mt19937& random, std::size_t tokens) {
    std::uniform_int_distribution<std::size_t> pick(0, kVocabulary.size() - 1);
    std::uniform_int_distribution<int> space(0, 2);
    std::string line;
    for (std::size_t i = 0; i < tokens; ++i) {
        line += kVocabulary[pick(random)];
        if (space(random) != 0) line += ' ';
    }
    return line;
}

std::string RandomBytes(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<int> byte(1, 255);
    std::string line;
    for (std::size_t i = 0; i < length; ++i) {
        char c = static_cast<char>(byte(random));
        line += c == '\n' || c == '\r' ? ' ' : c;
    }
    return line;
}

const std::string& FuzzDirectory() {
    static const TScratchFolder folder;
    static const std::string dir = folder.Path() + "/";
    return dir;
}

// Runs the document and checks that the reports agree with the listing;
// returns whether it reached phase 2.
bool CheckRun(TAssembly& run, const std::vector<std::string>& lines) {
    run.Run(lines, FuzzDirectory() + "fuzz.psm");
    if (run.Listing.size() != lines.size()) {
        ADD_FAILURE() << "listing has " << run.Listing.size() << " entries";
        return false;
    }
    std::vector<int> reported;
    for (const auto& line : run.Log.Lines)
        if (line.starts_with("Line ")) reported.push_back(std::stoi(line.substr(5)));
    std::vector<int> marked;
    for (std::size_t i = 0; i < run.Listing.size(); ++i)
        if (run.Listing[i].starts_with("?")) marked.push_back(static_cast<int>(i) + 1);
    EXPECT_EQ(reported, marked);
    bool includeErrors = false;
    for (const auto& line : run.Log.Lines)
        includeErrors |= line.starts_with("?Include file:");
    EXPECT_EQ(run.Result, marked.empty() && !includeErrors);
    EXPECT_EQ(run.Log.UpdateDepth, 0);
    return run.Log.Lines.size() > 1 &&
           run.Log.Lines[1] == "Assembler Phase 2: constructing opcodes";
}

class FuzzTest : public ::testing::TestWithParam<TCoreKind> {};

TEST_P(FuzzTest, TokenSoupsAreReportedLineByLine) {
    std::mt19937 random(1234 + static_cast<int>(GetParam()));
    std::uniform_int_distribution<std::size_t> length(0, 12);
    TAssembly run(GetParam());
    int reachedPhase2 = 0;
    for (int document = 0; document < 400; ++document) {
        std::vector<std::string> lines;
        for (int i = 0; i < 8; ++i)
            lines.push_back(TokenSoup(random, length(random)));
        reachedPhase2 += CheckRun(run, lines);
    }
    EXPECT_GT(reachedPhase2, 40);
}

TEST_P(FuzzTest, RandomBytesAreReportedLineByLine) {
    std::mt19937 random(99 + static_cast<int>(GetParam()));
    std::uniform_int_distribution<std::size_t> length(0, 80);
    TAssembly run(GetParam());
    for (int document = 0; document < 300; ++document) {
        std::vector<std::string> lines;
        for (int i = 0; i < 8; ++i)
            lines.push_back(RandomBytes(random, length(random)));
        CheckRun(run, lines);
    }
}

// Lines whose first token can start no statement are bad on every core, and
// pass 2 must say so for each of them.
TEST_P(FuzzTest, EveryBadLineIsReported) {
    std::mt19937 random(7 + static_cast<int>(GetParam()));
    TAssembly run(GetParam());
    for (int document = 0; document < 40; ++document) {
        std::vector<std::string> lines;
        for (int i = 0; i < 30; ++i) {
            // '#' starts no statement; pass 1 only looks for labels,
            // directives and instructions, so the soup behind it is kept
            // free of those to let the document reach pass 2.
            std::string soup = TokenSoup(random, 6);
            for (char& c : soup)
                if (std::isalpha(static_cast<unsigned char>(c)) || c == ':') c = '1';
            lines.push_back(i % 3 == 0 ? "# " + soup : "INST " + std::to_string(i));
        }
        CheckRun(run, lines);
        ASSERT_FALSE(run.Result);
        ASSERT_EQ(run.Log.Lines[1], "Assembler Phase 2: constructing opcodes");
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(run.Listing[i].starts_with("?"), i % 3 == 0) << lines[i];
    }
}

TEST_P(FuzzTest, HugeLinesEnd) {
    const std::size_t n = 100000;
    std::mt19937 random(5);
    std::vector<std::string> lines{
        std::string(n, '('),
        "x EQU " + std::string(n, '('),
        "x EQU " + std::string(n, '(') + "1" + std::string(n, ')'),
        "y EQU " + std::string(n, '-') + "1",
        "z EQU 1" + std::string(n / 2, ')'),
        "w EQU ",
        "LOAD s0, (((((1)",
        "LOAD s0, 1))))",
        std::string(n, 'a'),
        std::string(n, 'a') + ":",
        "LOAD " + std::string(n, 's') + ", 1",
        "LOAD s0, " + std::string(n, '9'),
        "LOAD s0, $" + std::string(n, 'F'),
        "LOAD s0, %" + std::string(n, '1'),
        "EXEC \"" + std::string(n, 'e'),
        "DSROM 0" + std::string(n, ','),
        RandomBytes(random, n),
        TokenSoup(random, n / 4),
        std::string(n, ' ') + "LOAD s0, 1",
        std::string(n, ';'),
    };
    std::string sum = "s EQU 1";
    for (std::size_t i = 0; i < n / 2; ++i)
        sum += "+1";
    lines.push_back(sum);
    TAssembly run(GetParam());
    CheckRun(run, lines);
    EXPECT_FALSE(run.Result);
}

INSTANTIATE_TEST_SUITE_P(Cores, FuzzTest,
                         ::testing::Values(TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3,
                                           TCoreKind::pbtC),
                         [](const ::testing::TestParamInfo<TCoreKind>& info) {
                             return std::string(CoreDescription(info.param).Name);
                         });

} // namespace
} // namespace korvo::test
