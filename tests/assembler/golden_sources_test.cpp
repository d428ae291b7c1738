// Runs every tests/data/assembler/ok_*.psm and err_*.psm through the driver,
// each section for each of its cores (see data_files.h).
//
// The expected result of a line stands at its end after ";=": the listing
// text of a good line, or the whole parser result ("?Kind|Message") of a bad
// one; a line without it expects an empty listing text. The harness strips
// the expectation before assembling.
//
// A section without expected errors must pass all three phases with exactly
// the expected listing. A section with expected errors must fail with
// exactly those errors logged ("Line N: message"), in phase 1 or phase 2.
// ";; program-size: 1K" builds the section's core with that much code memory.
#include "assembly.h"
#include "data_files.h"

#include "common/core_options.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

void CheckSection(const std::string& path, TGoldenSection section, TCoreKind core) {
    std::vector<std::string> expected, errorLog;
    for (std::size_t i = 0; i < section.Lines.size(); ++i) {
        std::string& line = section.Lines[i];
        auto marker = line.rfind(";=");
        expected.emplace_back();
        if (marker == std::string::npos) continue;
        std::string& want = expected.back();
        want = line.substr(marker + 2);
        want.erase(0, want.find_first_not_of(" \t"));
        want.erase(want.find_last_not_of(" \t") + 1);
        line.erase(line.find_last_not_of(" \t", marker - 1) + 1);
        if (want.starts_with("?")) {
            auto bar = want.find('|');
            errorLog.push_back("Line " + std::to_string(i + 1) + ": " +
                               want.substr(bar == std::string::npos ? 0 : bar + 1));
        }
    }
    auto size = section.Options.find("program-size");
    TAssembly run(core, size == section.Options.end() ? CoreDescription(core).CodeSize
                                                      : *ParseProgramSize(size->second));
    run.Run(section.Lines, path);
    const auto& log = run.Log.Lines;
    ASSERT_GE(log.size(), 1u);
    bool reachedPhase2 = log.size() > 1 && log[1] == "Assembler Phase 2: constructing opcodes";
    EXPECT_EQ(run.Result, errorLog.empty());
    if (errorLog.empty()) {
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(log[2], "Assembler Phase 3: building simulation objects");
        for (const auto& line : log)
            EXPECT_FALSE(line.starts_with("Line ")) << line;
    } else {
        EXPECT_EQ(std::vector<std::string>(log.begin() + (reachedPhase2 ? 2 : 1), log.end()),
                  errorLog);
    }
    ASSERT_EQ(run.Listing.size(), section.Lines.size());
    for (std::size_t i = 0; i < section.Lines.size(); ++i) {
        std::string want = expected[i];
        if (want.starts_with("?"))
            want = want.substr(0, want.find('|'));
        else if (!reachedPhase2)
            want.clear(); // a failed phase 1 lists only its errors
        EXPECT_EQ(run.Listing[i], want)
            << "line " << section.FileLines[i] << ": " << section.Lines[i];
    }
}

class GoldenSource : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenSource, AssemblesAsAnnotated) {
    // A copy, so that output files named by directives never land in the
    // source tree.
    std::string path = DataCopyPath("assembler", GetParam());
    for (const auto& section : ReadGoldenSource(path).Sections) {
        for (TCoreKind core : section.Cores) {
            SCOPED_TRACE(GetParam() + " core " + std::string(CoreDescription(core).Name) +
                         " from line " + std::to_string(section.FileLines.front()));
            CheckSection(path, section, core);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenSource,
                         ::testing::ValuesIn(DataFiles("assembler", {"ok_", "err_"}, ".psm")),
                         [](const auto& info) {
                             return TestNameOf(info.param.substr(0, info.param.size() - 4));
                         });

} // namespace
} // namespace korvo::test
