// Every writer against the expected files in tests/data/output/golden, named
// CORE_PROGRAM[_wWIDTH | _data_first | _address_first].EXT: the empty
// program or one that fills every address, for both word classes.
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

class GoldenFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenFiles, MatchExpectedBytes) {
    const std::string& name = GetParam();
    std::string stem = name.substr(0, name.find('.')), extension = name.substr(name.find('.') + 1);
    TCoreKind kind = TCoreKind::none;
    for (TCoreKind core : {TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3, TCoreKind::pbtC})
        if (stem.starts_with(std::string(CoreDescription(core).Name) + "_")) kind = core;
    ASSERT_NE(kind, TCoreKind::none) << name;
    TScratchFolder dir;
    TMemorySettingsStore settings;
    TOutputJob job = MakeJob(kind, stem.find("_full") != std::string::npos ? FullProgram(kind)
                                                                           : EmptyProgram(kind));
    std::string target = dir / "out.file";
    std::vector<std::string> log;
    if (extension == "coe") {
        job.CoeFileName = target;
        job.CoeWidth = std::stoi(stem.substr(stem.rfind("_w") + 2));
        log = {"!Assembler saving to COEF Target: \"" + target + "\""};
    } else if (extension == "mem") {
        job.MemFileName = target;
        log = {"Assembler saving to MEM file: \"" + target + "\""};
    } else if (extension == "hex") {
        job.HexFileName = target;
        log = {"Assembler saving to HEX Target: \"" + target + "\""};
    } else if (extension == "vhd") {
        job.VhdlSkeleton = OutputDataPath("vhdl_template.vhd");
        job.VhdlTarget = target;
        job.VhdlEntity = "prog_rom";
        log = {"Assembler reading VHDL skeleton: \"" + job.VhdlSkeleton + "\"",
               "Assembler saving to VHDL target: \"" + target + "\""};
    } else {
        settings::StoreScanChain(settings, stem.ends_with("_address_first") ? AddressFirstChain()
                                                                            : DataFirstChain());
        job.SvfFileName = target;
        EXPECT_EQ(RunWriters(job, settings),
                  std::vector<std::string>{"Assembler saving to SVF Target: \"" + target + "\""});
        ExpectSvfMatches(target, name);
        return;
    }
    EXPECT_EQ(RunWriters(job, settings), log);
    auto written = SplitCrLf(ReadBytes(target)), expected = SplitCrLf(GoldenText(name));
    ASSERT_FALSE(expected.empty());
    // Line by line first, so that a difference shows where it is.
    for (std::size_t i = 0; i < std::min(written.size(), expected.size()); ++i)
        ASSERT_EQ(written[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(ReadBytes(target), GoldenText(name));
}

INSTANTIATE_TEST_SUITE_P(Writers, GoldenFiles,
                         ::testing::ValuesIn(DataFiles("output/golden", {""}, "")),
                         [](const auto& info) { return TestNameOf(info.param); });

} // namespace
} // namespace korvo::test
