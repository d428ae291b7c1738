// Runs every tests/data/cli/*.t: shell sessions with the korvo executable,
// each in a scratch folder of its own that holds an empty settings.ini.
//
//   # a comment
//   --- NAME        the lines up to the next marker are written to the file NAME
//   $ COMMAND       runs in bash (with pipefail) in the folder; the lines up
//                   to the next marker are what it prints: standard output,
//                   then standard error with each line marked "2> ", then
//                   "[N]" when the exit status N is not 0
//
// In the output a carriage return reads \r, the folder $DIR, the examples
// $EXAMPLES, the test data $DATA and the version $VERSION. An expected line
// "..." stands for any lines; a line ending in " (glob)" is a pattern.
// Commands find korvo on the PATH, KORVO_SETTINGS naming settings.ini, and
// AS, which runs a command as an ordinary user when the tests run as root.
#include "cli_support.h"
#include "data_files.h"
#include "korvo_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fnmatch.h>
#include <unistd.h>

namespace korvo::cli::test {
namespace {

namespace fs = std::filesystem;
using korvo::test::DataPath;

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); !from.empty() && at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::vector<std::string> Render(const TRunResult& result, const std::string& dir) {
    std::string text = result.Out;
    for (const auto& line : Lines(result.Err))
        text += "2> " + line + "\n";
    if (result.Status != 0) text += "[" + std::to_string(result.Status) + "]\n";
    Replace(text, "\r", "\\r");
    Replace(text, fs::canonical(dir).string(), "$DIR");
    Replace(text, dir, "$DIR");
    Replace(text, fs::canonical(KORVO_EXAMPLES_DIR).string(), "$EXAMPLES");
    Replace(text, KORVO_EXAMPLES_DIR, "$EXAMPLES");
    Replace(text, fs::canonical(KORVO_TEST_DATA_DIR).string(), "$DATA");
    Replace(text, kProductVersion, "$VERSION");
    return Lines(text);
}

bool Matches(const std::string& expected, const std::string& actual) {
    const std::string glob = " (glob)";
    if (!expected.ends_with(glob)) return expected == actual;
    return ::fnmatch(expected.substr(0, expected.size() - glob.size()).c_str(), actual.c_str(),
                     0) == 0;
}

// Whether the output matches, "..." standing for any lines.
bool Matches(const std::vector<std::string>& expected, std::size_t e,
             const std::vector<std::string>& actual, std::size_t a) {
    if (e == expected.size()) return a == actual.size();
    if (expected[e] == "...") {
        for (std::size_t skip = a; skip <= actual.size(); ++skip)
            if (Matches(expected, e + 1, actual, skip)) return true;
        return false;
    }
    return a < actual.size() && Matches(expected[e], actual[a]) &&
           Matches(expected, e + 1, actual, a + 1);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\n";
    return text;
}

class Transcript : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcript, PrintsWhatItShows) {
    korvo::test::TScratchFolder scratch;
    const std::string& dir = scratch.Path();
    scratch.Write("settings.ini", "");
    std::string as;
    if (::geteuid() == 0) as = "setpriv --reuid=nobody --regid=nogroup --clear-groups";
    const std::string environment =
        "chmod 777 " + ShellQuote(dir) + " && cd " + ShellQuote(dir) +
        " && export PATH=" + ShellQuote(fs::path(KORVO_EXECUTABLE).parent_path().string()) +
        ":\"$PATH\" KORVO_SETTINGS=" + ShellQuote(dir + "/settings.ini") +
        " EXAMPLES=" + ShellQuote(KORVO_EXAMPLES_DIR) + " DATA=" + ShellQuote(KORVO_TEST_DATA_DIR) +
        " AS=" + ShellQuote(as) + " && ";
    auto lines = Lines(korvo::test::ReadBytes(DataPath("cli/" + GetParam())));
    for (std::size_t i = 0; i < lines.size();) {
        const std::string marker = lines[i];
        std::size_t start = ++i;
        while (i < lines.size() && !lines[i].starts_with("$ ") && !lines[i].starts_with("--- ") &&
               !lines[i].starts_with("#"))
            ++i;
        std::vector<std::string> body(lines.begin() + start, lines.begin() + i);
        if (marker.starts_with("--- ")) {
            scratch.Write(marker.substr(4), Joined(body));
        } else if (marker.starts_with("$ ")) {
            while (!body.empty() && body.back().empty())
                body.pop_back();
            auto actual = Render(RunShell(environment + marker.substr(2)), dir);
            EXPECT_TRUE(Matches(body, 0, actual, 0))
                << GetParam() << ":" << start << ": " << marker << "\nexpected:\n"
                << Joined(body) << "actual:\n"
                << Joined(actual);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Korvo, Transcript,
                         ::testing::ValuesIn(korvo::test::DataFiles("cli", {""}, ".t")),
                         [](const auto& info) {
                             return info.param.substr(0, info.param.size() - 2);
                         });

} // namespace
} // namespace korvo::cli::test
