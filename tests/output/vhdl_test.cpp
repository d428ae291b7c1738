// Filling the VHDL template: the marker, the placeholders and the failures.
#include "output_test_support.h"

#include "common/text_file.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

struct TTemplateCase {
    const char* Name;
    std::string Template;
    std::string Entity;
    std::string Expected;
};

class VhdlTemplates : public ::testing::TestWithParam<TTemplateCase> {};

TEST_P(VhdlTemplates, FillsTheTextAfterTheMarker) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    WriteBytes(dir / "rom.vhd", GetParam().Template);
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.VhdlSkeleton = dir / "rom.vhd";
    job.VhdlTarget = dir / "out.vhd";
    job.VhdlEntity = GetParam().Entity;
    EXPECT_EQ(
        RunWriters(job, settings),
        (std::vector<std::string>{"Assembler reading VHDL skeleton: \"" + job.VhdlSkeleton + "\"",
                                  "Assembler saving to VHDL target: \"" + job.VhdlTarget + "\""}));
    ASSERT_TRUE(Exists(job.VhdlTarget));
    EXPECT_EQ(ReadBytes(job.VhdlTarget), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    VhdlFile, VhdlTemplates,
    ::testing::Values(
        TTemplateCase{"LinesUpToTheMarkerGo", "above\nbefore {begin template} after\nkept\n", "e",
                      "kept\r\n"},
        TTemplateCase{"MarkerOnTheFirstLine", "{begin template}\nA\n\nB\n\n", "e",
                      "A\r\n\r\nB\r\n\r\n"},
        TTemplateCase{"OnlyTheFirstMarkerCounts", "{begin template}\n{begin template} x\n", "e",
                      "{begin template} x\r\n"},
        TTemplateCase{"NoMarkerGivesAnEmptyFile", "entity {name} is\nend;\n", "e", ""},
        TTemplateCase{"MarkerAsLastLine", "head\n{begin template}\n", "e", ""},
        TTemplateCase{"EmptyTemplate", "", "e", ""},
        TTemplateCase{"CrLfTemplate", "x\r\n{begin template}\r\na {name}\r\nb\r\n", "rom",
                      "a rom\r\nb\r\n"},
        TTemplateCase{"RepeatedPlaceholders", "{begin template}\n{name}{name} {pico}\n{name}\n",
                      "rom", "romrom pbtI\r\nrom\r\n"},
        TTemplateCase{"PlaceholdersAreCaseSensitive",
                      "{begin template}\n{Name} {PICO} {init_00} {INIT_0a} {INIT_40} {INITP_08} "
                      "{INIT6_0} {INIT1_10} {INIT_0}\n",
                      "rom",
                      "{Name} {PICO} {init_00} {INIT_0a} {INIT_40} {INITP_08} {INIT6_0} "
                      "{INIT1_10} {INIT_0}\r\n"},
        // The entity name is filled in before the other placeholders.
        TTemplateCase{"EntityFilledBeforeTheRest", "{begin template}\n{name}\n", "{pico}_rom",
                      "pbtI_rom\r\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TRowCase {
    const char* Placeholder;
    std::string Expected;
};

// An 18-bit program whose word 0 is 3FFFF and all others 0.
TEST(VhdlFile, BlockRamRowsOfOneWord) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    const std::vector<TRowCase> rows{
        {"{INIT_00}", std::string(60, '0') + "FFFF"}, {"{INIT_01}", std::string(64, '0')},
        {"{INITP_00}", std::string(63, '0') + "3"},   {"{INIT1_0}", std::string(63, '0') + "3"},
        {"{INIT2_0}", std::string(63, '0') + "F"},    {"{INIT5_0}", std::string(63, '0') + "F"},
        {"{INIT5_1}", std::string(64, '0')},          {"{pico}", "pbt3"},
    };
    std::string templateText = "{begin template}\n";
    for (const auto& row : rows)
        templateText += std::string(row.Placeholder) + "\n";
    WriteBytes(dir / "rom.vhd", templateText);
    TOutputJob job = MakeJob(TCoreKind::pbt3, EmptyProgram(TCoreKind::pbt3));
    job.Words[0] = 0x3FFFF;
    job.VhdlSkeleton = dir / "rom.vhd";
    job.VhdlTarget = dir / "out.vhd";
    RunWriters(job, settings);
    auto lines = SplitCrLf(ReadBytes(job.VhdlTarget));
    ASSERT_EQ(lines.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(lines[i], rows[i].Expected) << rows[i].Placeholder;
}

TEST(VhdlFile, MissingTemplateIsLoggedAndTheNextWriterRuns) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.VhdlSkeleton = dir / "missing.vhd";
    job.VhdlTarget = dir / "out.vhd";
    job.HexFileName = dir / "out.hex";
    EXPECT_EQ(RunWriters(job, settings),
              (std::vector<std::string>{
                  "Failure: Assembler VHDL skeleton: \"" + job.VhdlSkeleton + "\" doesn't exist",
                  "Assembler saving to HEX Target: \"" + job.HexFileName + "\""}));
    EXPECT_FALSE(Exists(job.VhdlTarget));
    EXPECT_TRUE(Exists(job.HexFileName));
}

TEST(VhdlFile, NoTargetNameWritesNothing) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    WriteBytes(dir / "rom.vhd", "{begin template}\n{name}\n");
    TOutputJob job = MakeJob(TCoreKind::pbtC, EmptyProgram(TCoreKind::pbtC));
    job.VhdlSkeleton = dir / "rom.vhd";
    EXPECT_EQ(
        RunWriters(job, settings),
        std::vector<std::string>{"Assembler reading VHDL skeleton: \"" + job.VhdlSkeleton + "\""});
}

TEST(VhdlFile, UnwritableTargetIsOneFailureLine) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    WriteBytes(dir / "rom.vhd", "{begin template}\nentity {name}\n");
    WriteBytes(dir / "out.vhd", "old target");
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.VhdlSkeleton = dir / "rom.vhd";
    job.VhdlTarget = dir / "no-such-folder/out.vhd";
    job.HexFileName = dir / "out.hex";
    auto log = RunWriters(job, settings);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "Assembler saving to VHDL target: \"" + job.VhdlTarget + "\"");
    EXPECT_EQ(log[2],
              "Failure: Cannot create file \"" + job.VhdlTarget + "\". No such file or directory");
    EXPECT_EQ(log[3], "Assembler saving to HEX Target: \"" + job.HexFileName + "\"");
    EXPECT_TRUE(Exists(job.HexFileName));
}

// A template that exists but cannot be read ends the run: one failure line,
// the writers after it do not run, and the run fails.
TEST(VhdlFile, UnreadableTemplateEndsTheRun) {
    TScratchFolder dir;
    auto unreadable = UnreadableFile(dir);
    if (!unreadable) GTEST_SKIP() << "no unreadable file on this system";
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.CoeFileName = dir / "out.coe";
    job.VhdlSkeleton = *unreadable;
    job.VhdlTarget = dir / "out.vhd";
    job.HexFileName = dir / "out.hex";
    TStringListLog log;
    EXPECT_FALSE(WriteOutputFiles(job, TOutputEnvironment{log, settings, nullptr}));
    EXPECT_TRUE(Exists(job.CoeFileName));
    EXPECT_FALSE(Exists(job.VhdlTarget));
    EXPECT_FALSE(Exists(job.HexFileName));
    EXPECT_EQ(log.Lines.back(),
              "Failure: Cannot open file \"" + *unreadable + "\". Permission denied");
}

} // namespace
} // namespace korvo::test
