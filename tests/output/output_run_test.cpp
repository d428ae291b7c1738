// One whole run of the writers: order, log lines, failures and the EXEC step.
#include "output_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace korvo::test {
namespace {

namespace fs = std::filesystem;

TOutputJob AllFilesJob(const TScratchFolder& dir, TCoreKind kind) {
    TOutputJob job = MakeJob(kind, FullProgram(kind));
    job.CoeFileName = dir / "prog.coe";
    job.MemFileName = dir / "prog.mem";
    job.VhdlSkeleton = dir.Write("rom.vhd", "{begin template}\nentity {name} is -- {pico}\n");
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
    // Without a launcher the command is skipped; nothing named, nothing done.
    auto expected = AllFilesLog(job);
    expected.pop_back();
    EXPECT_EQ(RunWriters(job, settings, nullptr), expected);
    EXPECT_TRUE(
        RunWriters(MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI)), settings, &launcher)
            .empty());
    EXPECT_EQ(launcher.Commands.size(), 1u);
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
    auto previous = fs::current_path();
    fs::current_path(dir.Path());
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.CoeFileName = "prog.coe";
    job.MemFileName = "sub/../prog.mem";
    job.HexFileName = "prog.hex";
    auto log = RunWriters(job, settings);
    fs::current_path(previous);
    std::string base = fs::canonical(dir.Path()).string();
    EXPECT_EQ(log, (std::vector<std::string>{
                       "!Assembler saving to COEF Target: \"" + base + "/prog.coe\"",
                       "Assembler saving to MEM file: \"" + base + "/prog.mem\"",
                       "Failure: Cannot create file \"sub/../prog.mem\". No such file or directory",
                       "Assembler saving to HEX Target: \"prog.hex\""}));
}

// One target of a whole run cannot be made (a missing folder, a read-only
// folder, a folder in the way): exactly one failure line follows that
// writer's saving line, everything else runs, and neither a half-written
// target nor a temporary file is left behind.
TEST(OutputRun, AFailingTargetIsOneLineAndTheRestRuns) {
    std::string TOutputJob::*targets[] = {&TOutputJob::CoeFileName, &TOutputJob::MemFileName,
                                          &TOutputJob::VhdlTarget, &TOutputJob::HexFileName,
                                          &TOutputJob::SvfFileName};
    const std::size_t savingLines[] = {0, 1, 3, 4, 5};
    for (int way = 0; way < 3; ++way) {
        for (std::size_t t = 0; t < std::size(targets); ++t) {
            TScratchFolder dir;
            std::string bad = dir / "no-such-folder/out.file", reason = std::strerror(ENOENT);
            if (way == 1) {
                auto folder = ReadOnlyFolder(dir);
                if (!folder) continue;
                bad = *folder + "/out.file";
                errno = 0;
                std::FILE* probe = std::fopen((bad + ".probe").c_str(), "wb");
                ASSERT_EQ(probe, nullptr);
                reason = std::strerror(errno); // the system's text for this folder
            } else if (way == 2) {
                bad = dir / "blocked";
                fs::create_directories(bad + "/inside");
                reason = std::strerror(EISDIR);
            }
            SCOPED_TRACE(bad + " as target " + std::to_string(t));
            TMemorySettingsStore settings;
            settings::StoreScanChain(settings, AddressFirstChain());
            TOutputJob job = AllFilesJob(dir, TCoreKind::pbtII);
            job.*targets[t] = bad;
            auto expected = AllFilesLog(job);
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(savingLines[t]) + 1,
                            "Failure: Cannot create file \"" + bad + "\". " + reason);
            TRecordingLauncher launcher;
            EXPECT_EQ(RunWriters(job, settings, &launcher), expected);
            EXPECT_EQ(launcher.Commands.size(), 1u);
            for (auto target : targets)
                if (target != targets[t]) {
                    EXPECT_TRUE(Exists(job.*target));
                }
            if (way == 2) {
                EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 6);
                EXPECT_TRUE(fs::is_directory(bad + "/inside"));
            }
        }
    }
}

// Replacing a file replaces it whole and keeps what the user set up around
// it: a link keeps pointing at its file, the file keeps its access rights.
// A read-only target is not replaced behind the user's back (root may write
// any file, so there it is replaced like any other).
TEST(OutputRun, ReplacedFilesKeepTheirLinksAndRights) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    fs::create_directory(dir / "real");
    dir.Write("real/prog.hex", std::string(100000, 'x'));
    auto rights = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(dir / "real/prog.hex", rights);
    fs::create_symlink("real/prog.hex", dir / "prog.hex");
    TOutputJob job = MakeJob(TCoreKind::pbtI, EmptyProgram(TCoreKind::pbtI));
    job.HexFileName = dir / "prog.hex";
    EXPECT_EQ(RunWriters(job, settings).size(), 1u);
    EXPECT_TRUE(fs::is_symlink(job.HexFileName));
    EXPECT_EQ(ReadBytes(dir / "real/prog.hex"), GoldenText("pbtI_empty.hex"));
    EXPECT_EQ(fs::status(dir / "real/prog.hex").permissions(), rights);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), {}), 1);
    if (::geteuid() == 0) return;
    job.HexFileName.clear();
    job.CoeFileName = dir.Write("prog.coe", "kept");
    job.MemFileName = dir / "prog.mem";
    fs::permissions(job.CoeFileName, fs::perms::owner_read);
    auto log = RunWriters(job, settings);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1],
              "Failure: Cannot create file \"" + job.CoeFileName + "\". " + std::strerror(EACCES));
    EXPECT_EQ(ReadBytes(job.CoeFileName), "kept");
    EXPECT_TRUE(Exists(job.MemFileName));
}

} // namespace
} // namespace korvo::test
