// The SVF writer reading its scan chain from an INI settings file, and the
// settings failures that keep the EXEC command from starting.
#include "launcher_support.h"
#include "output/output_test_support.h"
#include "platform/process_launcher.h"
#include "settings/qt_settings_store.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// The data-first chain as a user's settings file holds it.
const char* const kDataFirstIni = "[SVF]\n"
                                  "Before\\Count=2\n"
                                  "Before\\0\\Chip=XC9536\n"
                                  "Before\\0\\IRLength=8\n"
                                  "Before\\0\\ID=09602093\n"
                                  "Before\\1\\Chip=XCF02S\n"
                                  "Before\\1\\IRLength=6\n"
                                  "Target\\Chip=Spartan-3\n"
                                  "Target\\IRLength=6\n"
                                  "Target\\ID=12345678\n"
                                  "Target\\IDCODE=0009\n"
                                  "Target\\USER1=0002\n"
                                  "Target\\AddressWidth=16\n"
                                  "Target\\DataWidth=16\n"
                                  "Target\\AddressFirst=0\n"
                                  "After\\Count=1\n"
                                  "After\\0\\Chip=XC2C64\n"
                                  "After\\0\\IRLength=8\n";

TEST(SvfFromIniSettings, ChainBeforeAndAfterTheTarget) {
    TScratchFolder dir;
    WriteBytes(dir / "korvo.ini", kDataFirstIni);
    TQtSettingsStore store(dir / "korvo.ini");
    TOutputJob job = MakeJob(TCoreKind::pbtC, FullProgram(TCoreKind::pbtC));
    job.SvfFileName = dir / "prog.svf";
    EXPECT_EQ(
        RunWriters(job, store),
        std::vector<std::string>{"Assembler saving to SVF Target: \"" + job.SvfFileName + "\""});
    ExpectSvfMatches(job.SvfFileName, "pbtC_full_data_first.svf");
}

TEST(SvfFromIniSettings, ChainStoredByTheProgram) {
    TScratchFolder dir;
    {
        TQtSettingsStore store(dir / "korvo.ini");
        settings::StoreScanChain(store, AddressFirstChain());
    }
    TQtSettingsStore store(dir / "korvo.ini");
    TOutputJob job = MakeJob(TCoreKind::pbtII, FullProgram(TCoreKind::pbtII));
    job.SvfFileName = dir / "prog.svf";
    RunWriters(job, store);
    ExpectSvfMatches(job.SvfFileName, "pbtII_full_address_first.svf");
}

struct TIniFailureCase {
    const char* Name;
    std::string Replace; // a line of the data-first file
    std::string With;
    std::string Message;
};

class SvfIniFailures : public ::testing::TestWithParam<TIniFailureCase> {};

// A missing or mistyped value: one failure line, no SVF file, no EXEC.
TEST_P(SvfIniFailures, EndTheRunWithoutExec) {
    TScratchFolder dir;
    std::string ini = kDataFirstIni;
    auto at = ini.find(GetParam().Replace);
    ASSERT_NE(at, std::string::npos);
    ini.replace(at, GetParam().Replace.size(), GetParam().With);
    WriteBytes(dir / "korvo.ini", ini);
    TQtSettingsStore store(dir / "korvo.ini");
    TSystemProcessLauncher system;
    TCountingLauncher launcher(system);
    TOutputJob job = MakeJob(TCoreKind::pbt3, FullProgram(TCoreKind::pbt3));
    job.HexFileName = dir / "prog.hex";
    job.SvfFileName = dir / "prog.svf";
    job.ExecCommand = "touch " + ShellQuote(dir / "executed");
    EXPECT_EQ(
        RunWriters(job, store, &launcher),
        (std::vector<std::string>{"Assembler saving to HEX Target: \"" + job.HexFileName + "\"",
                                  "Failure: " + GetParam().Message +
                                      "; SVF info not set, SVF generation aborted"}));
    EXPECT_FALSE(Exists(job.SvfFileName));
    EXPECT_TRUE(launcher.Commands.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SvfFromIniSettings, SvfIniFailures,
    ::testing::Values(
        TIniFailureCase{"MissingCount", "Before\\Count=2\n", "", "Invalid data type for 'Count'"},
        TIniFailureCase{"MistypedCount", "After\\Count=1", "After\\Count=one",
                        "Invalid data type for 'Count'"},
        TIniFailureCase{"MissingDataWidth", "Target\\DataWidth=16\n", "",
                        "Invalid data type for 'DataWidth'"},
        TIniFailureCase{"MistypedAddressWidth", "Target\\AddressWidth=16",
                        "Target\\AddressWidth=sixteen", "Invalid data type for 'AddressWidth'"},
        TIniFailureCase{"MistypedAddressFirst", "Target\\AddressFirst=0",
                        "Target\\AddressFirst=false", "Invalid data type for 'AddressFirst'"}),
    [](const auto& info) { return std::string(info.param.Name); });

// With readable settings the same run starts the command after the SVF file.
TEST(SvfFromIniSettings, ReadableChainLetsTheCommandRun) {
    TScratchFolder dir;
    WriteBytes(dir / "korvo.ini", kDataFirstIni);
    TQtSettingsStore store(dir / "korvo.ini");
    TSystemProcessLauncher launcher;
    TOutputJob job = MakeJob(TCoreKind::pbtC, FullProgram(TCoreKind::pbtC));
    job.SvfFileName = dir / "prog.svf";
    job.ExecCommand = "cp " + ShellQuote(job.SvfFileName) + " " + ShellQuote(dir / "copy.svf");
    auto log = RunWriters(job, store, &launcher);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1], "!Executing: '" + job.ExecCommand + "'");
    ASSERT_TRUE(WaitForFile(dir / "copy.svf"));
}

} // namespace
} // namespace korvo::test
