// Every writer against the expected files for both word classes, for the
// empty program and for one that fills every address.
#include "output_test_support.h"

#include "common/text_file.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

enum class TFile { Coe, Mem, Hex, Vhdl };

struct TGoldenCase {
    TFile File;
    TCoreKind Kind;
    bool Full;
    int CoeWidth;
    std::string Golden;
};

std::string PrintCase(const ::testing::TestParamInfo<TGoldenCase>& info) {
    std::string name = info.param.Golden;
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

class GoldenFiles : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(GoldenFiles, MatchExpectedBytes) {
    const TGoldenCase& param = GetParam();
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job =
        MakeJob(param.Kind, param.Full ? FullProgram(param.Kind) : EmptyProgram(param.Kind));
    std::string target = dir / "out.file";
    std::vector<std::string> expectedLog;
    switch (param.File) {
    case TFile::Coe:
        job.CoeFileName = target;
        job.CoeWidth = param.CoeWidth;
        expectedLog = {"!Assembler saving to COEF Target: \"" + target + "\""};
        break;
    case TFile::Mem:
        job.MemFileName = target;
        expectedLog = {"Assembler saving to MEM file: \"" + target + "\""};
        break;
    case TFile::Hex:
        job.HexFileName = target;
        expectedLog = {"Assembler saving to HEX Target: \"" + target + "\""};
        break;
    case TFile::Vhdl:
        job.VhdlSkeleton = OutputDataPath("vhdl_template.vhd");
        job.VhdlTarget = target;
        job.VhdlEntity = "prog_rom";
        expectedLog = {"Assembler reading VHDL skeleton: \"" + job.VhdlSkeleton + "\"",
                       "Assembler saving to VHDL target: \"" + target + "\""};
        break;
    }
    EXPECT_EQ(RunWriters(job, settings), expectedLog);
    std::string expected = GoldenText(param.Golden);
    ASSERT_FALSE(expected.empty());
    std::string written = ReadBytes(target);
    // Compare line by line first, so that a difference shows where it is.
    auto writtenLines = SplitCrLf(written);
    auto expectedLines = SplitCrLf(expected);
    for (std::size_t i = 0; i < std::min(writtenLines.size(), expectedLines.size()); ++i)
        ASSERT_EQ(writtenLines[i], expectedLines[i]) << "line " << i + 1;
    EXPECT_EQ(written, expected);
}

std::vector<TGoldenCase> Cases() {
    using enum TCoreKind;
    std::vector<TGoldenCase> cases;
    for (bool full : {false, true}) {
        std::string program = full ? "full" : "empty";
        cases.push_back({TFile::Coe, pbtI, full, 8, "pbtI_" + program + "_w8.coe"});
        cases.push_back({TFile::Coe, pbtI, full, 16, "pbtI_" + program + "_w16.coe"});
        cases.push_back({TFile::Coe, pbtC, full, 16, "pbtC_" + program + "_w16.coe"});
        cases.push_back({TFile::Coe, pbtII, full, 18, "pbtII_" + program + "_w18.coe"});
        cases.push_back({TFile::Coe, pbt3, full, 8, "pbt3_" + program + "_w8.coe"});
        for (TCoreKind kind : {pbtI, pbt3}) {
            std::string stem = std::string(CoreDescription(kind).Name) + "_" + program;
            cases.push_back({TFile::Mem, kind, full, 8, stem + ".mem"});
            cases.push_back({TFile::Hex, kind, full, 8, stem + ".hex"});
            cases.push_back({TFile::Vhdl, kind, full, 8, stem + ".vhd"});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Writers, GoldenFiles, ::testing::ValuesIn(Cases()), PrintCase);

} // namespace
} // namespace korvo::test
