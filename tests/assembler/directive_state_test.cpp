#include "assembly_harness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvo::test {
namespace {

TEST(DirectiveState, FileNamesAreTakenInTheSourceDirectory) {
    TScratchFolder scratch;
    std::string dir = scratch.Path() + "/";
    WriteTestFile(dir + "tpl.vhd", "");
    // Relative names are taken in the source's folder, whatever the current
    // directory.
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    TAssembly run;
    ASSERT_TRUE(
        run.Run({"MEM \"a.mem\"", "HEX \"out/a.hex\"", "SVF \"a.svf\"", "COE \"/abs/a.coe\"",
                 "VHDL \"tpl.vhd\", \"out\\rom.vhd\"", "EXEC \"\"\"make all ; done\""},
                dir + "prog.psm"));
    const TDirectiveState& state = run.Parser.Directives();
    EXPECT_EQ(state.SourceDirectory, dir);
    EXPECT_EQ(state.MemFileName, dir + "a.mem");
    EXPECT_EQ(state.HexFileName, dir + "out/a.hex");
    EXPECT_EQ(state.SvfFileName, dir + "a.svf");
    EXPECT_EQ(state.CoeFileName, "/abs/a.coe");
    EXPECT_EQ(state.VhdlSkeleton, dir + "tpl.vhd");
    EXPECT_EQ(state.VhdlTarget, dir + "out\\rom.vhd");
    EXPECT_EQ(state.VhdlEntity, "rom");
    EXPECT_EQ(state.ExecCommand, "\"make all ; done");
    std::filesystem::current_path(previous);
}

TEST(DirectiveState, EntityNameIsKeptBetweenRuns) {
    TScratchFolder scratch;
    std::string dir = scratch.Path() + "/";
    WriteTestFile(dir + "tpl.vhd", "");
    TAssembly run;
    ASSERT_TRUE(run.Run({"VHDL \"tpl.vhd\", \"t.vhd\", \"my_rom\""}, dir + "p.psm"));
    EXPECT_EQ(run.Parser.Directives().VhdlEntity, "my_rom");
    ASSERT_TRUE(run.Run({"LOAD s0, 1"}, dir + "p.psm"));
    EXPECT_EQ(run.Parser.Directives().VhdlEntity, "my_rom");
    EXPECT_EQ(run.Parser.Directives().VhdlTarget, "");
}

struct TCoeCase {
    TCoreKind Core;
    std::string Line;
    int Width;
};

class CoeWidthTest : public ::testing::TestWithParam<TCoeCase> {};

TEST_P(CoeWidthTest, WidthFollowsTheCore) {
    TAssembly run(GetParam().Core);
    ASSERT_TRUE(run.Run({GetParam().Line}));
    EXPECT_EQ(run.Parser.Directives().CoeWidth, GetParam().Width);
}

INSTANTIATE_TEST_SUITE_P(Cores, CoeWidthTest,
                         ::testing::Values(TCoeCase{TCoreKind::pbtI, "COE \"a\"", 8},
                                           TCoeCase{TCoreKind::pbtI, "COE \"a\", 16", 16},
                                           TCoeCase{TCoreKind::pbtC, "COE \"a\", 2*4", 8},
                                           TCoeCase{TCoreKind::pbtII, "COE \"a\"", 18},
                                           TCoeCase{TCoreKind::pbtII, "COE \"a\", 16", 18},
                                           TCoeCase{TCoreKind::pbt3, "COE \"a\"", 8},
                                           TCoeCase{TCoreKind::pbt3, "COE \"a\", 99", 8}));

TEST(DirectiveState, RegisterNamesComeFromEquates) {
    TAssembly run(TCoreKind::pbtII);
    ASSERT_TRUE(run.Run({"Counter EQU s1F", "temp EQU s00", "other EQU 5"}));
    EXPECT_EQ(run.Parser.RegisterName(31), "Counter");
    EXPECT_EQ(run.Parser.RegisterName(0), "temp");
    EXPECT_EQ(run.Parser.RegisterName(5), "");
    EXPECT_EQ(run.Parser.RegisterName(32), "");
    EXPECT_EQ(run.Parser.RegisterName(-1), "");
    ASSERT_TRUE(run.Run({"LOAD s00, 1"}));
    EXPECT_EQ(run.Parser.RegisterName(31), "");
}

TEST(DirectiveState, ScratchPadUseIsSeenOnPicoBlaze3) {
    TAssembly run(TCoreKind::pbt3);
    ASSERT_TRUE(run.Run({"LOAD s0, 1"}));
    EXPECT_FALSE(run.Image.UsesScratchPad());
    ASSERT_TRUE(run.Run({"STORE s0, 1"}));
    EXPECT_TRUE(run.Image.UsesScratchPad());
    ASSERT_TRUE(run.Run({"IN s0, 1"}));
    EXPECT_FALSE(run.Image.UsesScratchPad());
    ASSERT_TRUE(run.Run({"fetch s0, (s1)"}));
    EXPECT_TRUE(run.Image.UsesScratchPad());
}

TEST(DirectiveState, IncludeFilesAreListedInOrder) {
    TScratchFolder scratch;
    std::string dir = scratch.Path() + "/";
    WriteTestFile(dir + "a.psm", "");
    WriteTestFile(dir + "b.psm", "");
    TAssembly run;
    ASSERT_TRUE(
        run.Run({"INCL \"a.psm\", \"b.psm\"", "INCL \"" + dir + "a.psm\""}, dir + "main.psm"));
    EXPECT_EQ(run.Parser.Directives().IncludeFiles,
              (std::vector<std::string>{dir + "a.psm", dir + "b.psm"}));
}

} // namespace
} // namespace korvo::test
