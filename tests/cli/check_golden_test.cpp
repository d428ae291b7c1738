// Runs korvo check on every tests/data/check/*.psm. The first line holds the
// command line (";; korvo check ARGS"); each finding expected on a line
// stands in its comment after ";!" (several on one line each after its own
// ";!"); the lines ";;= TEXT" are the summary expected at the end.
#include "cli_support.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace korvo::cli::test {
namespace {

struct TExpected {
    std::string Arguments;
    std::vector<std::string> Findings; // "FILE:LINE: severity: message"
    std::vector<std::string> Summary;
};

std::string Trimmed(std::string text) {
    text.erase(0, text.find_first_not_of(" \t"));
    text.erase(text.find_last_not_of(" \t\r") + 1);
    return text;
}

TExpected ExpectationsOf(const std::string& path, const std::string& shownName) {
    TExpected expected;
    auto lines = Lines(korvo::test::ReadBytes(path));
    expected.Arguments = lines.at(0).substr(std::string(";; korvo check ").size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.starts_with(";;= ")) {
            expected.Summary.push_back(line.substr(4));
            continue;
        }
        for (auto at = line.find(";!"); at != std::string::npos;) {
            const auto next = line.find(";!", at + 2);
            expected.Findings.push_back(shownName + ":" + std::to_string(i + 1) + ": " +
                                        Trimmed(line.substr(at + 2, next - at - 2)));
            at = next;
        }
    }
    std::sort(expected.Findings.begin(), expected.Findings.end());
    return expected;
}

class CheckGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckGolden, FindsWhatTheCommentsSay) {
    korvo::test::TScratchFolder scratch;
    scratch.Write("settings.ini", "");
    const std::string name = GetParam();
    std::filesystem::copy_file(korvo::test::DataPath("check/" + name), scratch / name);
    const TExpected expected = ExpectationsOf(scratch / name, name);
    auto run = RunShell("cd " + ShellQuote(scratch.Path()) + " && KORVO_SETTINGS=settings.ini " +
                        ShellQuote(KORVO_EXECUTABLE) + " check " + expected.Arguments + " " +
                        ShellQuote(name));
    std::vector<std::string> findings, summary;
    for (const auto& line : Lines(run.Out))
        (line.starts_with(name + ":") ? findings : summary).push_back(line);
    std::sort(findings.begin(), findings.end());
    EXPECT_EQ(findings, expected.Findings) << run.Out << run.Err;
    EXPECT_EQ(summary, expected.Summary) << run.Out << run.Err;
    const bool errors = std::any_of(expected.Findings.begin(), expected.Findings.end(),
                                    [](auto& f) { return f.find(": error: ") != f.npos; });
    EXPECT_EQ(run.Status, errors ? 1 : 0) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(Korvo, CheckGolden,
                         ::testing::ValuesIn(korvo::test::DataFiles("check", {""}, ".psm")),
                         [](const auto& info) { return korvo::test::TestNameOf(info.param); });

} // namespace
} // namespace korvo::cli::test
