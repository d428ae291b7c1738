// Starting the EXEC command as a real process.
#include "launcher_support.h"
#include "output/output_test_support.h"
#include "platform/process_launcher.h"

#include <gtest/gtest.h>

#include <cstring>

namespace korvo::test {
namespace {

// A command line and what comes of it: the words the program got, each in
// brackets, or the failure text. "WORDS" stands for a program that writes
// the words it gets, "DIR" for a fresh folder.
struct TLaunchCase {
    const char* Name;
    std::string Command;
    std::string Result;
};

class Launches : public ::testing::TestWithParam<TLaunchCase> {};

// The words reach the program as a shell would split them, unexpanded; a
// start that fails gives the system's text and leaves no child behind.
TEST_P(Launches, SplitTheWordsAsAShellOrGiveTheSystemText) {
    TScratchFolder dir;
    WriteBytes(dir / "not-executable", "#!/bin/sh\n");
    std::string out = dir / "words.txt";
    std::string words = "sh -c " +
                        ShellQuote("printf '[%s]' \"$@\" > " + ShellQuote(out + ".tmp") +
                                   " && mv " + ShellQuote(out + ".tmp") + " " + ShellQuote(out)) +
                        " sh";
    std::string command = GetParam().Command;
    const std::pair<std::string, std::string> marks[] = {{"WORDS", words}, {"DIR", dir.Path()}};
    for (const auto& [mark, text] : marks)
        if (auto at = command.find(mark); at != std::string::npos)
            command.replace(at, mark.size(), text);
    TScopedEnvironment path("PATH", kSystemPath);
    std::string errorText;
    bool started = TSystemProcessLauncher().Launch(command, errorText);
    EXPECT_EQ(started && WaitForFile(out) ? ReadBytes(out) : errorText, GetParam().Result);
    EXPECT_TRUE(started || HasNoChildren());
}

INSTANTIATE_TEST_SUITE_P(
    ProcessLauncher, Launches,
    ::testing::Values(
        TLaunchCase{"PlainWords", "WORDS one  two\tthree", "[one][two][three]"},
        TLaunchCase{"QuotesGroup", "WORDS 'a b' \"c  d\"", "[a b][c  d]"},
        TLaunchCase{"EscapesInDoubleQuotes", R"(WORDS "x\"y" "\\ \$ \a")", R"([x"y][\ $ \a])"},
        TLaunchCase{"SingleQuotesKeepBackslashes", R"(WORDS 'x\y' 'it''s')", R"([x\y][its])"},
        TLaunchCase{"BackslashOutsideQuotes", R"(WORDS a\ b c\'d)", "[a b][c'd]"},
        TLaunchCase{"EmptyWords", "WORDS '' \"\"", "[][]"},
        TLaunchCase{"PiecesJoin", "WORDS con\"cat\"'ed'", "[concated]"},
        TLaunchCase{"NoExpansion", "WORDS \"$HOME\" '*' ~ $PATH *", "[$HOME][*][~][$PATH][*]"},
        TLaunchCase{"NoOperators", "WORDS a;b '|' > <", "[a;b][|][>][<]"},
        TLaunchCase{"MissingProgram", "korvo-no-such-program --flag", std::strerror(ENOENT)},
        TLaunchCase{"MissingPath", "DIR/missing arg", std::strerror(ENOENT)},
        TLaunchCase{"NotExecutable", "DIR/not-executable", std::strerror(EACCES)},
        TLaunchCase{"Folder", "DIR", std::strerror(EACCES)},
        TLaunchCase{"BlankCommand", "   ", std::strerror(ENOENT)},
        TLaunchCase{"UnterminatedQuote", "echo 'abc", "Unterminated quoted string"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The program is found on PATH and runs in the current folder with the
// environment; Launch returns while it still runs, leaving no child behind.
TEST(ProcessLauncher, FindsTheProgramAndStartsItHereWithTheEnvironmentWithoutWaiting) {
    TScratchFolder dir;
    WriteBytes(dir / "korvo-test-tool", "#!/bin/sh\nwhile [ ! -e go ]; do sleep 0.02; done\n"
                                        "{ pwd; echo \"$KORVO_LAUNCH_TEST\"; } > out.tmp\n"
                                        "mv out.tmp out.txt\n");
    std::filesystem::permissions(dir / "korvo-test-tool", std::filesystem::perms::owner_all);
    auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    std::string errorText;
    bool started = false;
    {
        TScopedEnvironment variable("KORVO_LAUNCH_TEST", "from the parent");
        TScopedEnvironment path("PATH", dir.Path() + "/missing:" + dir.Path() + ":" + kSystemPath);
        started = TSystemProcessLauncher().Launch("korvo-test-tool", errorText);
    }
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

} // namespace
} // namespace korvo::test
