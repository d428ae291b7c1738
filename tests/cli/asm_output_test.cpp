// korvo asm writes the output files and starts the EXEC command as the IDE does.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace korvo::cli::test {
namespace {

const std::string kPhases = "Assembler Phase 1: building symbol table\n"
                            "Assembler Phase 2: constructing opcodes\n"
                            "Assembler Phase 3: building simulation objects\n";

bool WaitForFile(const std::string& path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// A source naming every output file and an EXEC command that copies the HEX
// file, with a settings file that holds a JTAG chain.
struct TProject {
    TProject() {
        WriteFile(Settings, "[SVF]\nBefore\\Count=0\nAfter\\Count=0\nTarget\\Chip=Spartan-3\n"
                            "Target\\IRLength=6\nTarget\\ID=01414093\nTarget\\IDCODE=0009\n"
                            "Target\\USER1=0002\nTarget\\AddressWidth=18\n"
                            "Target\\DataWidth=16\nTarget\\AddressFirst=0\n");
        WriteFile(Dir + "rom.vhd", "{begin template}\nentity {name} -- {pico} {INIT_00}\n");
    }
    std::string Source(const std::string& exec) const {
        WriteFile(Dir + "p.psm", "COE \"p.coe\"\nMEM \"p.mem\"\nVHDL \"rom.vhd\", \"p.vhd\"\n"
                                 "HEX \"p.hex\"\nSVF \"p.svf\"\nEXEC \"" +
                                     exec + "\"\nstart: LOAD s0, 1\nJUMP start\n");
        return Dir + "p.psm";
    }
    korvo::test::TScratchFolder Scratch;
    std::string Dir = Scratch.Path() + "/";
    std::string Settings = Dir + "settings.ini";
};

TEST(AsmOutput, WritesEveryFileThenStartsTheCommand) {
    TProject project;
    std::string command = "cp " + project.Dir + "p.hex " + project.Dir + "copy.hex";
    auto source = project.Source(command);
    auto result = RunInProcess({"asm", "--settings", project.Settings, "--core", "3", source});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(result.Out, kPhases + "!Assembler saving to COEF Target: \"" + project.Dir +
                              "p.coe\"\n" + "Assembler saving to MEM file: \"" + project.Dir +
                              "p.mem\"\n" + "Assembler reading VHDL skeleton: \"" + project.Dir +
                              "rom.vhd\"\n" + "Assembler saving to VHDL target: \"" + project.Dir +
                              "p.vhd\"\n" + "Assembler saving to HEX Target: \"" + project.Dir +
                              "p.hex\"\n" + "Assembler saving to SVF Target: \"" + project.Dir +
                              "p.svf\"\n" + "!Executing: '" + command + "'\n");
    ASSERT_TRUE(WaitForFile(project.Dir + "copy.hex"));
    // LOAD s0, 1 and JUMP 0 are 00001 and 34000 on PicoBlaze 3; data first,
    // the address goes above the 18 bits of the word.
    EXPECT_EQ(ReadFile(project.Dir + "p.vhd"),
              "entity p -- pbt3 " + std::string(56, '0') + "40000001\r\n");
    EXPECT_TRUE(ReadFile(project.Dir + "p.svf")
                    .find("\r\nSDR 34 TDI (000000001) ;\r\nSDR 34 TDI (000074000) ;\r\n") !=
                std::string::npos);
}

TEST(AsmOutput, NoExecSkipsTheCommandOnly) {
    TProject project;
    auto source = project.Source("touch " + project.Dir + "never-run");
    auto result = RunExecutable({"asm", "--settings", project.Settings, "--no-exec", source});
    EXPECT_EQ(result.Status, 0);
    EXPECT_TRUE(
        result.Out.ends_with("Assembler saving to SVF Target: \"" + project.Dir + "p.svf\"\n"));
    EXPECT_TRUE(std::filesystem::exists(project.Dir + "p.svf"));
    EXPECT_FALSE(std::filesystem::exists(project.Dir + "never-run"));
}

// korvo sim assembles exactly as korvo asm does, the EXEC command included.
TEST(AsmOutput, SimStartsTheCommandUnlessNoExec) {
    TProject project;
    auto source = project.Source("touch " + project.Dir + "ran");
    auto skipped = RunExecutable(
        {"sim", "--settings", project.Settings, "--no-exec", "--max-instructions", "10", source});
    EXPECT_EQ(skipped.Status, 0) << skipped.Err;
    EXPECT_EQ(skipped.Out.find("!Executing"), std::string::npos);
    auto started =
        RunExecutable({"sim", "--settings", project.Settings, "--max-instructions", "10", source});
    EXPECT_EQ(started.Status, 0) << started.Err;
    EXPECT_NE(started.Out.find("!Executing: 'touch " + project.Dir + "ran'\n"), std::string::npos);
    EXPECT_TRUE(WaitForFile(project.Dir + "ran"));
}

TEST(AsmOutput, CommandThatCannotStartStillAssembles) {
    TProject project;
    auto source = project.Source("korvo-no-such-program now");
    auto result = RunInProcess({"asm", "--settings", project.Settings, source});
    EXPECT_EQ(result.Status, 4);
    EXPECT_TRUE(result.Out.ends_with("Failure: Can not execute: 'korvo-no-such-program now'; "
                                     "reason: 'No such file or directory'\n"))
        << result.Out;
    EXPECT_EQ(result.Err, source + ": error: Can not execute: 'korvo-no-such-program now'; "
                                   "reason: 'No such file or directory'\n");
}

// Without readable JTAG settings the SVF file is not written and the run
// ends there: the command does not start, and the program still assembled
// (exit status 4: done, but an output failed).
TEST(AsmOutput, SvfSettingsFailureEndsTheRunBeforeTheCommand) {
    TProject project;
    WriteFile(project.Settings, "[SVF]\nTarget\\Chip=Spartan-3\nTarget\\AddressWidth=x\n");
    auto source = project.Source("touch " + project.Dir + "never-run");
    auto result = RunInProcess({"asm", "--settings", project.Settings, source});
    EXPECT_EQ(result.Status, 4);
    EXPECT_TRUE(result.Out.ends_with("Assembler saving to HEX Target: \"" + project.Dir +
                                     "p.hex\"\nFailure: Invalid data type for 'AddressWidth'; "
                                     "SVF info not set, SVF generation aborted\n"))
        << result.Out;
    EXPECT_FALSE(std::filesystem::exists(project.Dir + "p.svf"));
}

// A template that cannot be read fails the run after the passes succeeded:
// no other core is proposed, since the source is good for this one.
TEST(AsmOutput, UnreadableTemplateNamesNoOtherCore) {
    TProject project;
    std::filesystem::remove(project.Dir + "rom.vhd");
    std::filesystem::create_directory(project.Dir + "rom.vhd");
    auto result = RunInProcess({"asm", "--settings", project.Settings, project.Source("")});
    EXPECT_NE(result.Status, 0);
    EXPECT_EQ(result.Err.find("note:"), std::string::npos) << result.Err;
}

} // namespace
} // namespace korvo::cli::test
