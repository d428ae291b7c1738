// One whole run of the writers: order, log lines, failures and the EXEC step.
#include "output_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace korvo::test {
namespace {

TOutputJob AllFilesJob(const TScratchFolder& dir, TCoreKind kind) {
    TOutputJob job = MakeJob(kind, FullProgram(kind));
    WriteBytes(dir / "rom.vhd", "{begin template}\nentity {name} is -- {pico}\n");
    job.CoeFileName = dir / "prog.coe";
    job.MemFileName = dir / "prog.mem";
    job.VhdlSkeleton = dir / "rom.vhd";
    job.VhdlTarget = dir / "prog.vhd";
    job.VhdlEntity = "prog";
    job.HexFileName = dir / "prog.hex";
    job.SvfFileName = dir / "prog.svf";
    job.ExecCommand = "impact -batch prog.cmd";
    return job;
}

std::vector<std::string> AllFilesLog(const TOutputJob& job) {
    return {"!Assembler saving to COEF Target: \"" + job.CoeFileName + "\"",
            "Assembler saving to MEM file: \"" + job.MemFileName + "\"",
            "Assembler reading VHDL skeleton: \"" + job.VhdlSkeleton + "\"",
            "Assembler saving to VHDL target: \"" + job.VhdlTarget + "\"",
            "Assembler saving to HEX Target: \"" + job.HexFileName + "\"",
            "Assembler saving to SVF Target: \"" + job.SvfFileName + "\"",
            "!Executing: '" + job.ExecCommand + "'"};
}

TEST(OutputRun, WritesEveryFileInOrderThenStartsTheCommand) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    settings::StoreScanChain(settings, AddressFirstChain());
    TOutputJob job = AllFilesJob(dir, TCoreKind::pbt3);
    TRecordingLauncher launcher;
    EXPECT_EQ(RunWriters(job, settings, &launcher), AllFilesLog(job));
    EXPECT_EQ(launcher.Commands, std::vector<std::string>{job.ExecCommand});
    for (const auto& file :
         {job.CoeFileName, job.MemFileName, job.VhdlTarget, job.HexFileName, job.SvfFileName})
        EXPECT_TRUE(Exists(file)) << file;
    EXPECT_EQ(ReadBytes(job.VhdlTarget), "entity prog is -- pbt3\r\n");
}

TEST(OutputRun, NothingNamedWritesNothing) {
    TMemorySettingsStore settings;
    TRecordingLauncher launcher;
    EXPECT_TRUE(
        RunWriters(MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI)), settings, &launcher)
            .empty());
    EXPECT_TRUE(launcher.Commands.empty());
}

TEST(OutputRun, WithoutLauncherTheCommandIsSkipped) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    settings::StoreScanChain(settings, DataFirstChain());
    TOutputJob job = AllFilesJob(dir, TCoreKind::pbtI);
    auto expected = AllFilesLog(job);
    expected.pop_back();
    EXPECT_EQ(RunWriters(job, settings, nullptr), expected);
}

TEST(OutputRun, CommandThatCannotStartIsLoggedWithTheSystemText) {
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.ExecCommand = "missing-tool 'a b'";
    TRecordingLauncher launcher;
    launcher.Succeeds = false;
    launcher.ErrorText = "The system cannot find the file specified.\r\n";
    EXPECT_EQ(RunWriters(job, settings, &launcher),
              std::vector<std::string>{"Failure: Can not execute: 'missing-tool 'a b''; reason: "
                                       "'The system cannot find the file specified.\r\n'"});
}

TEST(OutputRun, CoeAndMemLogTheExpandedPath) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.CoeFileName = "prog.coe";
    job.MemFileName = "sub/../prog.mem";
    job.HexFileName = "prog.hex";
    auto log = RunWriters(job, settings);
    std::filesystem::current_path(previous);
    std::string base = std::filesystem::canonical(dir.Path()).string();
    EXPECT_EQ(log, (std::vector<std::string>{
                       "!Assembler saving to COEF Target: \"" + base + "/prog.coe\"",
                       "Assembler saving to MEM file: \"" + base + "/prog.mem\"",
                       "Failure: Cannot create file \"sub/../prog.mem\". No such file or directory",
                       "Assembler saving to HEX Target: \"prog.hex\""}));
}

// Which target of the run is made unwritable.
enum class TTarget { Coe, Mem, Vhdl, Hex, Svf };

struct TFailingTargetCase {
    const char* Name;
    TTarget Target;
    std::size_t SavingLine; // index of the writer's saving line in the log
};

class FailingTargets : public ::testing::TestWithParam<TFailingTargetCase> {
protected:
    static std::string& TargetOf(TOutputJob& job, TTarget target) {
        switch (target) {
        case TTarget::Coe: return job.CoeFileName;
        case TTarget::Mem: return job.MemFileName;
        case TTarget::Vhdl: return job.VhdlTarget;
        case TTarget::Hex: return job.HexFileName;
        case TTarget::Svf: return job.SvfFileName;
        }
        return job.CoeFileName;
    }

    // Runs all writers with one target replaced and checks that exactly one
    // failure line follows that writer's saving line and everything else ran.
    void Check(const std::string& badTarget, const std::string& reason) {
        TScratchFolder dir;
        TMemorySettingsStore settings;
        settings::StoreScanChain(settings, AddressFirstChain());
        TOutputJob job = AllFilesJob(dir, TCoreKind::pbtII);
        std::string& target = TargetOf(job, GetParam().Target);
        target = badTarget;
        auto expected = AllFilesLog(job);
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(GetParam().SavingLine) + 1,
                        "Failure: Cannot create file \"" + badTarget + "\". " + reason);
        TRecordingLauncher launcher;
        EXPECT_EQ(RunWriters(job, settings, &launcher), expected);
        EXPECT_EQ(launcher.Commands.size(), 1u);
        for (TTarget other :
             {TTarget::Coe, TTarget::Mem, TTarget::Vhdl, TTarget::Hex, TTarget::Svf})
            if (other != GetParam().Target) {
                EXPECT_TRUE(Exists(TargetOf(job, other)));
            }
    }
};

TEST_P(FailingTargets, MissingFolder) {
    TScratchFolder dir;
    Check(dir / "no-such-folder/out.file", "No such file or directory");
}

TEST_P(FailingTargets, ReadOnlyFolder) {
    TScratchFolder dir;
    auto folder = ReadOnlyFolder(dir);
    if (!folder) GTEST_SKIP() << "no read-only folder on this system";
    // The reason is the system's text, which depends on the folder.
    std::string path = *folder + "/out.file";
    errno = 0;
    ASSERT_EQ(std::fopen((path + ".probe").c_str(), "wb"), nullptr);
    Check(path, std::strerror(errno));
}

// A folder in the way of the target: the temporary file is written, the
// rename fails, and neither a half-written target nor the temporary file
// is left behind.
TEST_P(FailingTargets, FolderInTheWay) {
    TScratchFolder dir;
    std::string blocked = dir / "blocked";
    std::filesystem::create_directories(blocked + "/inside");
    Check(blocked, std::strerror(EISDIR));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(std::filesystem::is_directory(blocked + "/inside"));
}

INSTANTIATE_TEST_SUITE_P(OutputRun, FailingTargets,
                         ::testing::Values(TFailingTargetCase{"Coe", TTarget::Coe, 0},
                                           TFailingTargetCase{"Mem", TTarget::Mem, 1},
                                           TFailingTargetCase{"Vhdl", TTarget::Vhdl, 3},
                                           TFailingTargetCase{"Hex", TTarget::Hex, 4},
                                           TFailingTargetCase{"Svf", TTarget::Svf, 5}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(OutputRun, ExistingFilesAreReplacedWhole) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.HexFileName = dir / "prog.hex";
    WriteBytes(job.HexFileName, std::string(100000, 'x'));
    RunWriters(job, settings);
    EXPECT_EQ(ReadBytes(job.HexFileName), GoldenText("pbtI_empty.hex"));
}

// Replacing a file keeps what the user set up around it: a link keeps
// pointing at its file, and the file keeps its access rights.
TEST(OutputRun, ReplacedFileKeepsItsLinkAndRights) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    std::filesystem::create_directory(dir / "real");
    WriteBytes(dir / "real/prog.hex", "old");
    std::filesystem::permissions(dir / "real/prog.hex", std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_write |
                                                            std::filesystem::perms::group_read);
    std::filesystem::create_symlink("real/prog.hex", dir / "prog.hex");
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.HexFileName = dir / "prog.hex";
    EXPECT_EQ(RunWriters(job, settings).size(), 1u);
    EXPECT_TRUE(std::filesystem::is_symlink(job.HexFileName));
    EXPECT_EQ(ReadBytes(dir / "real/prog.hex"), GoldenText("pbtI_empty.hex"));
    EXPECT_EQ(std::filesystem::status(dir / "real/prog.hex").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "real"),
                            std::filesystem::directory_iterator()),
              1);
}

// A read-only target is not replaced behind the user's back. (Root may write
// any file, so there it is replaced like any other.)
TEST(OutputRun, ReadOnlyTargetFileIsOneFailureLine) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.CoeFileName = dir / "prog.coe";
    job.MemFileName = dir / "prog.mem";
    WriteBytes(job.CoeFileName, "kept");
    std::filesystem::permissions(job.CoeFileName, std::filesystem::perms::owner_read);
    auto log = RunWriters(job, settings);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1],
              "Failure: Cannot create file \"" + job.CoeFileName + "\". " + std::strerror(EACCES));
    EXPECT_EQ(ReadBytes(job.CoeFileName), "kept");
    EXPECT_TRUE(Exists(job.MemFileName));
}

} // namespace
} // namespace korvo::test
