// Starting the EXEC command as a real process.
#include "launcher_support.h"
#include "output/output_test_support.h"
#include "platform/process_launcher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

namespace korvo::test {
namespace {

struct TWordsCase {
    const char* Name;
    std::string Arguments;
    std::string Expected; // each word the program got, in brackets
};

class CommandWords : public ::testing::TestWithParam<TWordsCase> {};

// The words reach the program as a shell would split them, unexpanded.
TEST_P(CommandWords, ReachTheProgramAsAShellSplitsThem) {
    TScratchFolder dir;
    std::string out = dir / "words.txt";
    std::string script = "printf '[%s]' \"$@\" > " + ShellQuote(out + ".tmp") + " && mv " +
                         ShellQuote(out + ".tmp") + " " + ShellQuote(out);
    std::string command = "sh -c " + ShellQuote(script) + " sh " + GetParam().Arguments;
    TSystemProcessLauncher launcher;
    std::string errorText;
    ASSERT_TRUE(launcher.Launch(command, errorText)) << errorText;
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadBytes(out), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    ProcessLauncher, CommandWords,
    ::testing::Values(
        TWordsCase{"PlainWords", "one  two\tthree", "[one][two][three]"},
        TWordsCase{"QuotesGroup", "'a b' \"c  d\"", "[a b][c  d]"},
        TWordsCase{"EscapesInDoubleQuotes", R"("x\"y" "\\ \$ \a")", R"([x"y][\ $ \a])"},
        TWordsCase{"SingleQuotesKeepBackslashes", R"('x\y' 'it''s')", R"([x\y][its])"},
        TWordsCase{"BackslashOutsideQuotes", R"(a\ b c\'d)", "[a b][c'd]"},
        TWordsCase{"EmptyWords", "'' \"\"", "[][]"},
        TWordsCase{"PiecesJoin", "con\"cat\"'ed'", "[concated]"},
        TWordsCase{"NoExpansion", "\"$HOME\" '*' ~ $PATH *", "[$HOME][*][~][$PATH][*]"},
        TWordsCase{"NoOperators", "a;b '|' > <", "[a;b][|][>][<]"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The command runs in the program's current folder with its environment,
// and Launch returns while it still runs, leaving no child behind.
TEST(ProcessLauncher, StartsInTheCurrentFolderWithTheEnvironmentAndDoesNotWait) {
    TScratchFolder dir;
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    std::optional<TScopedEnvironment> variable(std::in_place, "KORVO_LAUNCH_TEST",
                                               "from the parent");
    std::string script = "while [ ! -e go ]; do sleep 0.02; done; "
                         "{ pwd; echo \"$KORVO_LAUNCH_TEST\"; } > out.tmp && mv out.tmp out.txt";
    TSystemProcessLauncher launcher;
    std::string errorText;
    bool started = launcher.Launch("sh -c " + ShellQuote(script), errorText);
    variable.reset();
    std::filesystem::current_path(previous);
    ASSERT_TRUE(started) << errorText;
    EXPECT_TRUE(HasNoChildren());
    EXPECT_FALSE(Exists(dir / "out.txt"));
    WriteBytes(dir / "go", "");
    ASSERT_TRUE(WaitForFile(dir / "out.txt"));
    EXPECT_EQ(ReadBytes(dir / "out.txt"),
              std::filesystem::canonical(dir.Path()).string() + "\nfrom the parent\n");
    EXPECT_TRUE(HasNoChildren());
}

TEST(ProcessLauncher, FindsTheProgramOnPath) {
    TScratchFolder dir;
    std::string tool = dir / "korvo-test-tool";
    WriteBytes(tool, "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    TSystemProcessLauncher launcher;
    std::string errorText;
    bool started = false;
    {
        TScopedEnvironment path("PATH", dir.Path() + "/missing:" + dir.Path() + ":" + kSystemPath);
        started =
            launcher.Launch("korvo-test-tool found " + ShellQuote(dir / "out.txt"), errorText);
    }
    ASSERT_TRUE(started) << errorText;
    ASSERT_TRUE(WaitForFile(dir / "out.txt"));
}

struct TStartFailureCase {
    const char* Name;
    std::string Command; // "DIR" stands for a fresh folder
    std::string Reason;
};

class StartFailures : public ::testing::TestWithParam<TStartFailureCase> {};

TEST_P(StartFailures, GiveTheSystemText) {
    TScratchFolder dir;
    WriteBytes(dir / "not-executable", "#!/bin/sh\n");
    std::string command = GetParam().Command;
    if (auto at = command.find("DIR"); at != std::string::npos) command.replace(at, 3, dir.Path());
    TScopedEnvironment path("PATH", kSystemPath);
    TSystemProcessLauncher launcher;
    std::string errorText;
    EXPECT_FALSE(launcher.Launch(command, errorText));
    EXPECT_EQ(errorText, GetParam().Reason);
    EXPECT_TRUE(HasNoChildren());
}

INSTANTIATE_TEST_SUITE_P(
    ProcessLauncher, StartFailures,
    ::testing::Values(
        TStartFailureCase{"MissingProgram", "korvo-no-such-program --flag", std::strerror(ENOENT)},
        TStartFailureCase{"MissingPath", "DIR/missing arg", std::strerror(ENOENT)},
        TStartFailureCase{"NotExecutable", "DIR/not-executable", std::strerror(EACCES)},
        TStartFailureCase{"Folder", "DIR", std::strerror(EACCES)},
        TStartFailureCase{"BlankCommand", "   ", std::strerror(ENOENT)},
        TStartFailureCase{"UnterminatedQuote", "echo 'abc", "Unterminated quoted string"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The EXEC step of a run with the real launcher.
TEST(ProcessLauncher, ExecStepOfARun) {
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TSystemProcessLauncher launcher;
    TOutputJob job = MakeJob(TCoreKind::pbt3, FullProgram(TCoreKind::pbt3));
    job.HexFileName = dir / "prog.hex";
    job.ExecCommand = "cp " + ShellQuote(job.HexFileName) + " " + ShellQuote(dir / "copy.hex");
    EXPECT_EQ(
        RunWriters(job, settings, &launcher),
        (std::vector<std::string>{"Assembler saving to HEX Target: \"" + job.HexFileName + "\"",
                                  "!Executing: '" + job.ExecCommand + "'"}));
    ASSERT_TRUE(WaitForFile(dir / "copy.hex"));
    job.ExecCommand = "korvo-no-such-program " + ShellQuote(dir / "copy.hex");
    job.HexFileName.clear();
    TScopedEnvironment path("PATH", kSystemPath);
    EXPECT_EQ(RunWriters(job, settings, &launcher),
              std::vector<std::string>{"Failure: Can not execute: '" + job.ExecCommand +
                                       "'; reason: 'No such file or directory'"});
}

} // namespace
} // namespace korvo::test
