// Filling the VHDL template: the marker, the placeholders and the failures.
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// tests/data/output/vhdl_templates.txt
TEST(VhdlFile, FillsTheTextAfterTheMarker) {
    for (const auto& row : ReadCaseTable(OutputDataPath("vhdl_templates.txt"))) {
        TScratchFolder dir;
        TMemorySettingsStore settings;
        TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
        job.VhdlSkeleton = dir.Write("rom.vhd", row.Fields[0]);
        job.VhdlTarget = dir / "out.vhd";
        job.VhdlEntity = row.Fields[1];
        EXPECT_EQ(RunWriters(job, settings),
                  (std::vector<std::string>{
                      "Assembler reading VHDL skeleton: \"" + job.VhdlSkeleton + "\"",
                      "Assembler saving to VHDL target: \"" + job.VhdlTarget + "\""}));
        EXPECT_EQ(ReadBytes(job.VhdlTarget), row.Fields[2]) << "line " << row.Line;
        EXPECT_TRUE(Exists(job.VhdlTarget));
    }
}

// Each placeholder on a line of its own, filled from a program of the core
// whose words are 0 except those given.
void ExpectRows(TCoreKind kind, const std::vector<std::pair<int, std::uint32_t>>& words,
                const std::vector<std::pair<const char*, std::string>>& rows) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    std::string text = "{begin template}\n";
    for (const auto& row : rows)
        text += std::string(row.first) + "\n";
    TOutputJob job = MakeJob(kind, EmptyProgram(kind));
    for (auto [address, word] : words)
        job.Words[static_cast<std::size_t>(address)] = word;
    job.VhdlSkeleton = dir.Write("rom.vhd", text);
    job.VhdlTarget = dir / "out.vhd";
    RunWriters(job, settings);
    auto lines = SplitCrLf(ReadBytes(job.VhdlTarget));
    ASSERT_EQ(lines.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(lines[i], rows[i].second) << rows[i].first;
}

// An 18-bit program whose word 0 is 3FFFF and all others 0.
TEST(VhdlFile, BlockRamRowsOfOneWord) {
    ExpectRows(TCoreKind::pbt3, {{0, 0x3FFFF}},
               {
                   {"{INIT_00}", std::string(60, '0') + "FFFF"},
                   {"{INIT_01}", std::string(64, '0')},
                   {"{INITP_00}", std::string(63, '0') + "3"},
                   {"{INIT1_0}", std::string(63, '0') + "3"},
                   {"{INIT2_0}", std::string(63, '0') + "F"},
                   {"{INIT5_0}", std::string(63, '0') + "F"},
                   {"{INIT5_1}", std::string(64, '0')},
                   {"{pico}", "pbt3"},
                   {"{[8:0]_INIT_00}", "{[8:0]_INIT_00}"}, // a tag of large templates only
               });
}

// PicoBlaze 6, 4K words: 3FFFF at 000, 12345 at 001, 2ABCD at FFF. The rows
// of a 2K memory (16-bit words and 2-bit parity) and of the two 9-bit halves
// of a 4K one ([8:0]: bits 7..0, parity bit 8; [17:9]: bits 16..9, parity
// bit 17), worked out by hand.
TEST(VhdlFile, LargeRomRowsOfPicoBlaze6) {
    ExpectRows(TCoreKind::pbt6, {{0, 0x3FFFF}, {1, 0x12345}, {0xFFF, 0x2ABCD}},
               {
                   {"{INIT_00}", std::string(56, '0') + "2345FFFF"},
                   {"{INITP_00}", std::string(63, '0') + "7"},
                   {"{INIT_7F}", std::string(64, '0')},
                   {"{INITP_0F}", std::string(64, '0')},
                   {"{[8:0]_INIT_00}", std::string(60, '0') + "45FF"},
                   {"{[8:0]_INITP_00}", std::string(63, '0') + "3"},
                   {"{[17:9]_INIT_00}", std::string(60, '0') + "91FF"},
                   {"{[17:9]_INITP_00}", std::string(63, '0') + "1"},
                   {"{[8:0]_INIT_7F}", "CD" + std::string(62, '0')},
                   {"{[17:9]_INIT_7F}", "55" + std::string(62, '0')},
                   {"{[8:0]_INITP_0F}", "8" + std::string(63, '0')},
                   {"{[17:9]_INITP_0F}", "8" + std::string(63, '0')},
                   {"{[8:0]_INIT_80}", "{[8:0]_INIT_80}"},
                   {"{pico}", "pbt6"},
               });
}

// The example template of a 4K memory leaves no tag unfilled.
TEST(VhdlFile, ExampleTemplateOfA4KMemory) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbt6, EmptyProgram(TCoreKind::pbt6));
    job.Words[1] = 0x12345;
    job.VhdlSkeleton = std::string(KORVO_EXAMPLES_DIR) + "/rom_4k_pbt6.vhd";
    job.VhdlTarget = dir / "program_rom.vhd";
    job.VhdlEntity = "program_rom";
    RunWriters(job, settings);
    std::string text = ReadBytes(job.VhdlTarget);
    EXPECT_EQ(text.find('{'), std::string::npos);
    EXPECT_NE(text.find("entity program_rom is"), std::string::npos);
    EXPECT_NE(text.find("X\"" + std::string(60, '0') + "4500\""), std::string::npos);
    EXPECT_NE(text.find("X\"" + std::string(60, '0') + "9100\""), std::string::npos);
    EXPECT_NE(text.find("X\"" + std::string(63, '0') + "2\""), std::string::npos);
}

// A missing template, a run without a target name and a target that cannot
// be written are one line each; the next writer runs.
TEST(VhdlFile, FailuresAndTheNextWriter) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.VhdlSkeleton = dir / "missing.vhd";
    job.VhdlTarget = dir / "out.vhd";
    job.HexFileName = dir / "out.hex";
    std::string hexLine = "Assembler saving to HEX Target: \"" + job.HexFileName + "\"";
    EXPECT_EQ(RunWriters(job, settings),
              (std::vector<std::string>{"Failure: Assembler VHDL skeleton: \"" + job.VhdlSkeleton +
                                            "\" doesn't exist",
                                        hexLine}));
    EXPECT_FALSE(Exists(job.VhdlTarget));
    EXPECT_TRUE(Exists(job.HexFileName));
    std::string reading = "Assembler reading VHDL skeleton: \"" + (dir / "rom.vhd") + "\"";
    job.VhdlSkeleton = dir.Write("rom.vhd", "{begin template}\nentity {name}\n");
    job.VhdlTarget.clear();
    EXPECT_EQ(RunWriters(job, settings), (std::vector<std::string>{reading, hexLine}));
    job.VhdlTarget = dir / "no-such-folder/out.vhd";
    EXPECT_EQ(
        RunWriters(job, settings),
        (std::vector<std::string>{
            reading, "Assembler saving to VHDL target: \"" + job.VhdlTarget + "\"",
            "Failure: Cannot create file \"" + job.VhdlTarget + "\". No such file or directory",
            hexLine}));
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
