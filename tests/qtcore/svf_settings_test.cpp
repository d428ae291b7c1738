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
const char* const kDataFirstIni = KORVO_QTCORE_DATA_DIR "/data_first_chain.ini";

struct TIniCase {
    const char* Name;
    std::string Replace; // a line of the data-first file
    std::string With;
    std::string Message; // empty: the chain reads, and the command runs after it
};

class SvfIni : public ::testing::TestWithParam<TIniCase> {};

// A missing or mistyped value: one failure line, no SVF file, no EXEC;
// a readable chain: the SVF file, then the command.
TEST_P(SvfIni, DecidesTheFileAndTheCommand) {
    TScratchFolder dir;
    std::string ini = ReadBytes(kDataFirstIni);
    ini.replace(ini.find(GetParam().Replace), GetParam().Replace.size(), GetParam().With);
    WriteBytes(dir / "korvo.ini", ini);
    TQtSettingsStore store(dir / "korvo.ini");
    TSystemProcessLauncher launcher;
    TOutputJob job = MakeJob(TCoreKind::pbtC, FullProgram(TCoreKind::pbtC));
    job.HexFileName = dir / "prog.hex";
    job.SvfFileName = dir / "prog.svf";
    job.ExecCommand = "touch " + ShellQuote(dir / "executed");
    std::vector<std::string> log{"Assembler saving to HEX Target: \"" + job.HexFileName + "\""};
    if (GetParam().Message.empty())
        log.insert(log.end(), {"Assembler saving to SVF Target: \"" + job.SvfFileName + "\"",
                               "!Executing: '" + job.ExecCommand + "'"});
    else
        log.push_back("Failure: " + GetParam().Message +
                      "; SVF info not set, SVF generation aborted");
    EXPECT_EQ(RunWriters(job, store, &launcher), log);
    EXPECT_EQ(Exists(job.SvfFileName), GetParam().Message.empty());
    if (!GetParam().Message.empty()) return;
    ExpectSvfMatches(job.SvfFileName, "pbtC_full_data_first.svf");
    EXPECT_TRUE(WaitForFile(dir / "executed"));
}

INSTANTIATE_TEST_SUITE_P(
    SvfFromIniSettings, SvfIni,
    ::testing::Values(
        TIniCase{"Readable", "[SVF]", "[SVF]", ""},
        TIniCase{"MissingCount", "Before\\Count=2\n", "", "Invalid data type for 'Count'"},
        TIniCase{"MistypedCount", "After\\Count=1", "After\\Count=one",
                 "Invalid data type for 'Count'"},
        TIniCase{"MissingDataWidth", "Target\\DataWidth=16\n", "",
                 "Invalid data type for 'DataWidth'"},
        TIniCase{"MistypedAddressWidth", "Target\\AddressWidth=16", "Target\\AddressWidth=sixteen",
                 "Invalid data type for 'AddressWidth'"},
        TIniCase{"MistypedAddressFirst", "Target\\AddressFirst=0", "Target\\AddressFirst=false",
                 "Invalid data type for 'AddressFirst'"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace korvo::test
