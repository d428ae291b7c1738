// The driver around the passes: what a run leaves in the code image and the
// diagnostics. Listings and logged errors are in tests/data/assembler.
#include "assembly.h"
#include "common/text_file.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kPhases{"Assembler Phase 1: building symbol table",
                    "Assembler Phase 2: constructing opcodes",
                    "Assembler Phase 3: building simulation objects"};

TEST(AssemblerDriver, EmptyDocumentPassesAllPhasesAndEmptiesTheImage) {
    TAssembly run;
    run.Image.SetCodeEntry(5, TCodeEntry{true, true, 3, 0x1234});
    EXPECT_TRUE(run.Run({}));
    EXPECT_EQ(run.Log.Lines, kPhases);
    EXPECT_TRUE(run.Listing.empty());
    for (int address = 0; address < 1024; ++address)
        ASSERT_EQ(run.Entry(address), TCodeEntry{}) << address;
    EXPECT_EQ(run.Log.UpdateDepth, 0);
}

TEST(AssemblerDriver, GoodProgramFillsCodeImageAndPortMap) {
    TAssembly run;
    ASSERT_TRUE(run.Run({"start: LOAD s0, 1 ; comment", "", "  DSIN $05", "JUMP start"}));
    EXPECT_EQ(run.Entry(0), (TCodeEntry{true, false, 1, 0x00001}));
    EXPECT_EQ(run.Entry(1), (TCodeEntry{true, false, 4, 0x34000}));
    EXPECT_EQ(run.Port(5).Kind, TMemKind::Input);
    EXPECT_TRUE(run.Port(5).Visible);
    // A failed phase 2 keeps the words of the good lines only.
    EXPECT_FALSE(run.Run({"LOAD s0, 1", "JUMP nowhere", "ADD s1, 2"}));
    EXPECT_FALSE(run.Entry(1).HasCode);
    EXPECT_TRUE(run.Entry(2).HasCode);
}

// DEFJUMP fills every word the program leaves with a JUMP that carries the
// directive's line, so that a run that strays there shows where it went.
TEST(AssemblerDriver, DefaultJumpFillsTheUnusedWords) {
    TAssembly run(TCoreKind::pbt6);
    ASSERT_TRUE(run.Run({"LOAD s0, 1", "trap: JUMP trap", "DEFJUMP trap"}));
    EXPECT_EQ(run.Entry(0), (TCodeEntry{true, false, 1, 0x01001}));
    EXPECT_EQ(run.Entry(1), (TCodeEntry{true, false, 2, 0x22001}));
    for (int address : {2, 0x800, 0xFFF})
        EXPECT_EQ(run.Entry(address), (TCodeEntry{true, false, 3, 0x22001})) << address;
}

TEST(AssemblerDriver, DiagnosticsOfTheBadLines) {
    TAssembly run;
    EXPECT_FALSE(run.Run({"a: LOAD s0, 1", "a: LOAD s0, 2", "x EQU y", "y EQU 1"}));
    EXPECT_EQ(run.Entry(0), TCodeEntry{});
    ASSERT_EQ(run.Diagnostics.size(), 2u);
    EXPECT_EQ(run.Diagnostics[1].FileName, TAssembly::SourceName());
    EXPECT_EQ(run.Diagnostics[1].Line, 3);
    EXPECT_EQ(run.Diagnostics[1].Kind, "Undefined");
    EXPECT_EQ(run.Diagnostics[1].Message, "An undefined identifier found.");
    // A result without "|" is logged whole and has no kind.
    TAssembly small(TCoreKind::pbtI);
    EXPECT_FALSE(small.Run({"ORG 1024"}));
    EXPECT_EQ(small.Log.Lines, (Lines{kPhases[0], "Line 1: ? > $0FF"}));
    ASSERT_EQ(small.Diagnostics.size(), 1u);
    EXPECT_EQ(small.Diagnostics[0].Kind, "");
    EXPECT_EQ(small.Diagnostics[0].Message, "> $0FF");
}

TEST(AssemblerDriver, NoSinkMeansNoRun) {
    TSynPicoBlaze parser;
    TStringListLog log;
    TMemorySettingsStore settings;
    TAssemblyContext context{parser, nullptr, log, settings, nullptr};
    std::vector<std::string> listing;
    EXPECT_FALSE(AssembleSource(context, "x.psm", {"LOAD s0, 1"}, listing));
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_TRUE(listing.empty());
}

TEST(AssemblerDriver, NextRunStartsAfresh) {
    TAssembly run;
    ASSERT_TRUE(run.Run({"x EQU 1", "DSOUT 3", "MEM \"a.mem\"", "LOAD s0, x"}));
    EXPECT_EQ(run.Parser.Directives().MemFileName,
              DirectoryPart(TAssembly::SourceName()) + "a.mem");
    ASSERT_TRUE(run.Run({"x EQU 2", "LOAD s0, x"}));
    EXPECT_EQ(run.Listing[1], "$000 $00002");
    EXPECT_EQ(run.Parser.Directives().MemFileName, "");
    EXPECT_EQ(run.Port(3).Kind, TMemKind::None);
    EXPECT_FALSE(run.Entry(1).HasCode);
}

} // namespace
} // namespace korvo::test
