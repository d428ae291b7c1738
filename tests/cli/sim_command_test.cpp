// korvo sim: assemble, run, report; the examples run to their known states.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace korvo::cli::test {
namespace {

// The last n lines of the output.
std::vector<std::string> Tail(const std::string& text, std::size_t n) {
    auto lines = Lines(text);
    if (lines.size() > n) lines.erase(lines.begin(), lines.end() - static_cast<long>(n));
    return lines;
}

std::string Example(const std::string& name) {
    return std::string(KORVO_EXAMPLES_DIR) + "/" + name;
}

struct TExampleCase {
    std::vector<std::string> Args;
    std::string Registers;
    std::string Flags;
};

TEST(SimCommand, ExamplesRunToTheirKnownState) {
    const TExampleCase cases[] = {
        {{"--core", "3", Example("fibonacci_pbt3.psm")},
         "s0=$0D s1=$79 s2=$E9 s3=$E9 s4=$61 s5=$02 s6=$0D s7=$E9 s8=$00 s9=$00 sA=$00 sB=$00 "
         "sC=$00 sD=$00 sE=$00 sF=$00",
         "Z=1 C=0 IE=0"},
        {{"--core", "I", "--in", "0=200", "--in", "$01=$2D", Example("multiply_pbti.psm")},
         "s0=$C8 s1=$00 s2=$00 s3=$C8 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$23 sB=$28 "
         "sC=$00 sD=$00 sE=$00 sF=$00",
         "Z=1 C=0 IE=0"},
        {{"--core", "II", Example("sort_pbtii.psm")},
         "s00=$E1 s01=$FF s02=$00 s03=$00 s04=$00 s05=$00 s06=$00 s07=$00 s08=$00 s09=$00 "
         "s0A=$00 s0B=$00 s0C=$00 s0D=$00 s0E=$00 s0F=$00 s10=$1F s11=$1F s12=$00 s13=$FF "
         "s14=$00 s15=$00 s16=$00 s17=$00 s18=$00 s19=$00 s1A=$00 s1B=$00 s1C=$00 s1D=$00 "
         "s1E=$00 s1F=$00",
         "Z=1 C=0 IE=0"},
        {{"--core", "CR", "--interrupt-at", "10", "--interrupt-at", "40", Example("gcd_pbtc.psm")},
         "s0=$15 s1=$15 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$02",
         "Z=1 C=0 IE=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.back());
        TSimFixture fixture;
        auto result = fixture.Sim(c.Args);
        EXPECT_EQ(result.Status, 0) << result.Err;
        EXPECT_EQ(result.Err, "");
        auto lines = Lines(result.Out);
        ASSERT_GE(lines.size(), 13u);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
                  (std::vector<std::string>{"Assembler Phase 1: building symbol table",
                                            "Assembler Phase 2: constructing opcodes",
                                            "Assembler Phase 3: building simulation objects",
                                            "!Program is Reset", "!Program is Started",
                                            "!Program is Paused"}));
        EXPECT_EQ(lines[6], " Instructions: 1000000");
        EXPECT_EQ(lines[7], " Time : 25ms");
        EXPECT_EQ(Tail(result.Out, 2), (std::vector<std::string>{c.Registers, c.Flags}));
    }
}

TEST(SimCommand, TheBuiltExecutableRunsAnExample) {
    TSimFixture fixture;
    auto result = RunExecutable({"sim", "--settings", fixture.Settings, "--core", "CR",
                                 "--max-instructions", "100", Example("gcd_pbtc.psm")});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(Tail(result.Out, 7),
              (std::vector<std::string>{
                  " Instructions: 100", " Time : 2500ns", " PC: $0F", " SP: 0 ( $00 )", " Stack:",
                  "s0=$15 s1=$15 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00", "Z=1 C=0 IE=1"}));
}

TEST(SimCommand, TraceShowsInstructionsAndTheirAccesses) {
    TSimFixture fixture;
    std::string source = fixture.Source("trace.psm", "sw      DSIN $05\n"
                                                     "leds    DSOUT $06\n"
                                                     "cells   DSRAM $10\n"
                                                     "        IN    s0, sw\n"
                                                     "        OUT   s0, leds\n"
                                                     "        STORE s0, $02\n"
                                                     "        FETCH s1, $02\n"
                                                     "        OUT   s1, cells\n"
                                                     "        RET\n");
    auto result = fixture.Sim({"--core", "3", "--trace", "--in", "5=$3C", source});
    EXPECT_EQ(result.Status, 3);
    auto lines = Lines(result.Out);
    std::vector<std::string> run(lines.begin() + 3, lines.begin() + 16);
    EXPECT_EQ(run, (std::vector<std::string>{
                       "!Program is Reset", "!Program is Started", "I 000 04005", "R 05 3C",
                       "I 001 2C006", "W 06 3C", "I 002 2E002", "S 02 3C", "I 003 06102", "F 02 3C",
                       "I 004 2C110", "W 10 3C", "?Stack underflow occurred."}));
    EXPECT_EQ(Tail(result.Out, 7)[1], " Time : 125ns");
    EXPECT_EQ(Tail(result.Out, 7)[3], " SP: ??");
}

TEST(SimCommand, ExitStatuses) {
    TSimFixture fixture;
    std::string good = fixture.Source("good.psm", "loop: JUMP loop\n");
    std::string bad = fixture.Source("bad.psm", "LOAD s0, 1\nJUMP nowhere\n");
    std::string halts = fixture.Source("halts.psm", "IN s0, $0A\n");
    struct TCase {
        const char* Name;
        std::vector<std::string> Args;
        int Status;
        std::string ErrContains;
    };
    const TCase cases[] = {
        {"limit reached", {"--max-instructions", "5", good}, 0, ""},
        {"no run at all", {"--max-instructions", "0", good}, 0, ""},
        {"halted", {"--core", "I", halts}, 3, ""},
        {"assembly failed", {bad}, 1, "bad.psm:2: error: "},
        {"no source", {}, 2, "no source file given"},
        {"two sources", {good, good}, 2, "only one source file"},
        {"missing source", {fixture.Dir + "/none.psm"}, 2, "none.psm"},
        {"unknown option", {"--fast", good}, 2, "unknown option --fast"},
        {"unknown core", {"--core", "X", good}, 2, "unknown core"},
        {"bad limit", {"--max-instructions", "-1", good}, 2, "--max-instructions"},
        {"bad limit text", {"--max-instructions", "lots", good}, 2, "--max-instructions"},
        {"bad scratch pad", {"--scratchpad", "48", good}, 2, "--scratchpad"},
        {"bad input", {"--in", "300=1", good}, 2, "--in"},
        {"input without value", {"--in", "5", good}, 2, "--in"},
        {"bad interrupt", {"--interrupt-at", "x", good}, 2, "--interrupt-at"},
        {"input on a port that is none", {"--in", "5=1", good}, 2, "port $05 is not an input"},
    };
    for (const auto& c : cases) {
        auto result = fixture.Sim(c.Args);
        EXPECT_EQ(result.Status, c.Status) << c.Name << "\n" << result.Out << result.Err;
        EXPECT_NE(result.Err.find(c.ErrContains), std::string::npos)
            << c.Name << ": " << result.Err;
    }
}

TEST(SimCommand, AnAccessErrorIsLoggedAsThePaneWouldShowIt) {
    TSimFixture fixture;
    std::string source = fixture.Source("io.psm", "LOAD s0, 1\nIN s0, $0A\n");
    auto result = fixture.Sim({"--core", "3", source});
    EXPECT_EQ(result.Status, 3);
    auto lines = Lines(result.Out);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 3, lines.begin() + 8),
        (std::vector<std::string>{
            "!Program is Reset", "!Program is Started",
            "Attempt to read from non-mapped input at: $00A; Program Counter: $01",
            "!Program is Reset", "?IO error: IN, OUT, FETCH or STORE outside IO or ScratchPad."}));
    EXPECT_EQ(Tail(result.Out, 7)[0], " Instructions: 0");
}

TEST(SimCommand, StimulusAndLogFiles) {
    TSimFixture fixture;
    WriteFile(fixture.Dir + "/in.txt", "3\r\n$10\r\nx\r\n");
    WriteFile(fixture.Dir + "/out.txt", "stale\r\n");
    std::string source = fixture.Source("files.psm", "sw    DSIN $01, \"in.txt\"\n"
                                                     "leds  DSOUT $02, \"out.txt\", \"%d=%.2x\"\n"
                                                     "      LOAD s1, 0\n"
                                                     "loop: IN s0, sw\n"
                                                     "      ADD s1, s0\n"
                                                     "      OUT s1, leds\n"
                                                     "      JUMP loop\n");
    // --in is the switches' value: the stimulus file still comes first.
    auto result = fixture.Sim({"--core", "3", "--max-instructions", "16", "--in", "1=99", source});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Err, "korvo sim: x is not an integer\n");
    // Reads: 3, 16, 16 (the bad line keeps the value), 16.
    EXPECT_EQ(ReadFile(fixture.Dir + "/out.txt"), "3=03\r\n19=13\r\n35=23\r\n51=33\r\n");
    EXPECT_EQ(Tail(result.Out, 2)[0].substr(0, 13), "s0=$10 s1=$33");
}

TEST(SimCommand, SettingsGiveTheFrequencyAndTheScratchPadSize) {
    TSimFixture fixture;
    WriteFile(fixture.Settings, "[Time]\nFrequency=40\n\n[ScratchPad]\nSize=1\n");
    std::string source = fixture.Source("pad.psm", "LOAD s0, $0F\nSTORE s0, (s0)\nADD s0, 1\n"
                                                   "STORE s0, (s0)\n");
    auto result = fixture.Sim({"--core", "3", source});
    EXPECT_EQ(result.Status, 3); // 16 bytes: offset $10 is refused
    EXPECT_NE(result.Out.find("Attempt to write to Scratch Pad at: $010; Program Counter: $03"),
              std::string::npos);
    auto wider =
        fixture.Sim({"--core", "3", "--scratchpad", "32", "--max-instructions", "3", source});
    EXPECT_EQ(wider.Status, 0);
    EXPECT_EQ(Tail(wider.Out, 7)[1], " Time : 150ns"); // 3 instructions at 40 MHz
}

} // namespace
} // namespace korvo::cli::test
