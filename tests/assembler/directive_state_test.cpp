// What the output directives leave for the writers, and the names the
// editor takes from a run.
#include "assembly.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvo::test {
namespace {

TEST(DirectiveState, FileNamesAreTakenInTheSourceDirectory) {
    TScratchFolder scratch;
    std::string dir = scratch.Path() + "/";
    for (const char* name : {"tpl.vhd", "a.psm", "b.psm"})
        scratch.Write(name, "");
    // Relative names are taken in the source's folder, whatever the current
    // directory.
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    TAssembly run;
    ASSERT_TRUE(
        run.Run({"MEM \"a.mem\"", "HEX \"out/a.hex\"", "SVF \"a.svf\"", "COE \"/abs/a.coe\"",
                 "VHDL \"tpl.vhd\", \"out\\rom.vhd\"", "EXEC \"\"\"make all ; done\"",
                 "INCL \"a.psm\", \"b.psm\"", "INCL \"" + dir + "a.psm\""},
                dir + "prog.psm"));
    std::filesystem::current_path(previous);
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
    EXPECT_EQ(state.IncludeFiles, (std::vector<std::string>{dir + "a.psm", dir + "b.psm"}));
    // A named entity is kept by a run without VHDL.
    ASSERT_TRUE(run.Run({"VHDL \"tpl.vhd\", \"t.vhd\", \"my_rom\""}, dir + "p.psm"));
    ASSERT_TRUE(run.Run({"LOAD s0, 1"}, dir + "p.psm"));
    EXPECT_EQ(run.Parser.Directives().VhdlEntity, "my_rom");
    EXPECT_EQ(run.Parser.Directives().VhdlTarget, "");
}

TEST(DirectiveState, CoeWidthFollowsTheCore) {
    const std::tuple<TCoreKind, const char*, int> cases[] = {
        {TCoreKind::pbtI, "COE \"a\"", 8},       {TCoreKind::pbtI, "COE \"a\", 16", 16},
        {TCoreKind::pbtC, "COE \"a\", 2*4", 8},  {TCoreKind::pbtII, "COE \"a\"", 18},
        {TCoreKind::pbtII, "COE \"a\", 16", 18}, {TCoreKind::pbt3, "COE \"a\"", 8},
        {TCoreKind::pbt3, "COE \"a\", 99", 8}};
    for (auto [core, line, width] : cases) {
        TAssembly run(core);
        ASSERT_TRUE(run.Run({line}));
        EXPECT_EQ(run.Parser.Directives().CoeWidth, width) << line;
    }
}

TEST(DirectiveState, RegisterNamesAndScratchPadUse) {
    TAssembly run(TCoreKind::pbtII);
    ASSERT_TRUE(run.Run({"Counter EQU s1F", "temp EQU s00", "other EQU 5"}));
    EXPECT_EQ(run.Parser.RegisterName(31), "Counter");
    EXPECT_EQ(run.Parser.RegisterName(0), "temp");
    EXPECT_EQ(run.Parser.RegisterName(5), "");
    EXPECT_EQ(run.Parser.RegisterName(32), "");
    EXPECT_EQ(run.Parser.RegisterName(-1), "");
    ASSERT_TRUE(run.Run({"LOAD s00, 1"}));
    EXPECT_EQ(run.Parser.RegisterName(31), "");
    TAssembly three(TCoreKind::pbt3);
    for (auto [line, uses] : {std::pair{"LOAD s0, 1", false},
                              {"STORE s0, 1", true},
                              {"IN s0, 1", false},
                              {"fetch s0, (s1)", true}}) {
        ASSERT_TRUE(three.Run({line}));
        EXPECT_EQ(three.Image.UsesScratchPad(), uses) << line;
    }
}

} // namespace
} // namespace korvo::test
