// The SVF file: the scan chain from the settings, the lines it gives and the
// settings failures that end the run (tests/data/output/svf_cases.txt).
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

using settings::TChipDescription;

struct TSvfCase {
    std::string Name;
    int Line = 0;
    TCoreKind Kind = TCoreKind::pbtI;
    settings::TScanChain Chain;
    std::vector<std::vector<std::string>> Changes; // set or delete rows
    std::vector<std::pair<int, std::uint32_t>> Words;
    std::vector<std::string> Lines, Log;
    int Count = -1;
};

void Check(const TSvfCase& c) {
    SCOPED_TRACE(c.Name + " at line " + std::to_string(c.Line));
    TMemorySettingsStore store;
    settings::StoreScanChain(store, c.Chain);
    for (const auto& change : c.Changes) {
        if (change[0] == "set")
            store.WriteValue(change[1], change[2], change[3]);
        else
            store.DeleteValue(change[1], change[2]);
    }
    TScratchFolder dir;
    TOutputJob job = MakeJob(c.Kind, EmptyProgram(c.Kind));
    for (auto [address, word] : c.Words)
        job.Words[static_cast<std::size_t>(address)] = word;
    job.SvfFileName = dir / "out.svf";
    job.ExecCommand = "make flash";
    TRecordingLauncher launcher;
    auto log = RunWriters(job, store, &launcher);
    bool failed = !log.empty() && log[0].starts_with("Failure: ");
    EXPECT_EQ(Exists(job.SvfFileName), !failed);
    EXPECT_EQ(launcher.Commands.size(), log.back().starts_with("!Executing") ? 1u : 0u);
    if (!c.Log.empty()) {
        EXPECT_EQ(log, c.Log);
    }
    auto lines = SplitCrLf(ReadBytes(job.SvfFileName));
    if (c.Count >= 0) {
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(c.Count));
    }
    auto line = lines.begin();
    for (const auto& expected : c.Lines) {
        line = std::find(line, lines.end(), expected);
        ASSERT_NE(line, lines.end()) << "missing or out of order: " << expected;
    }
}

TEST(SvfFile, CasesOfTheTable) {
    std::vector<TSvfCase> cases;
    for (const auto& row : ReadCaseTable(OutputDataPath("svf_cases.txt"))) {
        const auto& f = row.Fields;
        if (f[0] == "case") {
            cases.emplace_back();
            cases.back().Name = f[1];
            cases.back().Line = row.Line;
            continue;
        }
        TSvfCase& c = cases.back();
        if (f[0] == "before" || f[0] == "after") {
            (f[0] == "before" ? c.Chain.Before : c.Chain.After)
                .push_back(TChipDescription{f[1], f[2], f[3], f[4], f[5]});
        } else if (f[0] == "target") {
            c.Chain.Target = settings::TScanTarget{
                {f[1], f[2], f[3], f[4], f[5]}, std::stoi(f[6]), std::stoi(f[7]), f[8] == "1"};
        } else if (f[0] == "set" || f[0] == "delete") {
            c.Changes.push_back(f);
        } else if (f[0] == "core") {
            c.Kind = *CoreKindFromName(f[1]);
        } else if (f[0] == "word") {
            c.Words.emplace_back(std::stoi(f[1]), std::stoul(f[2].substr(1), nullptr, 16));
        } else if (f[0] == "count") {
            c.Count = std::stoi(f[1]);
        } else {
            (f[0] == "lines" ? c.Lines : c.Log).assign(f.begin() + 1, f.end());
        }
    }
    ASSERT_GT(cases.size(), 20u);
    for (const auto& c : cases)
        Check(c);
}

} // namespace
} // namespace korvo::test
