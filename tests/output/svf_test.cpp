// The SVF file: the scan chain from the settings, the lines it gives and the
// settings failures that end the run.
#include "output_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

using settings::TChipDescription;
using settings::TScanChain;
using settings::TScanTarget;

// Writes the SVF file (and names an EXEC command) with the settings given;
// returns the log.
struct TSvfRun {
    std::vector<std::string> Log;
    std::vector<std::string> Lines;
    std::vector<std::string> Started;
    bool Written = false;
};

TSvfRun RunSvf(const ISettingsStore& store, TCoreKind kind = TCoreKind::pbtI,
               std::vector<std::uint32_t> words = {}) {
    TScratchFolder dir;
    TOutputJob job = MakeJob(kind, words.empty() ? EmptyProgram(kind) : std::move(words));
    job.SvfFileName = dir / "out.svf";
    job.ExecCommand = "make flash";
    TRecordingLauncher launcher;
    TSvfRun run;
    run.Log = RunWriters(job, store, &launcher);
    run.Written = Exists(job.SvfFileName);
    run.Lines = SplitCrLf(ReadBytes(job.SvfFileName));
    run.Started = launcher.Commands;
    return run;
}

struct TGoldenSvf {
    TCoreKind Kind;
    bool Full;
    bool AddressFirst;
    std::string Golden;
};

class SvfGolden : public ::testing::TestWithParam<TGoldenSvf> {};

TEST_P(SvfGolden, MatchesExpectedFile) {
    const TGoldenSvf& param = GetParam();
    TMemorySettingsStore store;
    settings::StoreScanChain(store, param.AddressFirst ? AddressFirstChain() : DataFirstChain());
    TScratchFolder dir;
    TOutputJob job =
        MakeJob(param.Kind, param.Full ? FullProgram(param.Kind) : EmptyProgram(param.Kind));
    job.SvfFileName = dir / "out.svf";
    EXPECT_EQ(
        RunWriters(job, store),
        std::vector<std::string>{"Assembler saving to SVF Target: \"" + job.SvfFileName + "\""});
    ExpectSvfMatches(job.SvfFileName, param.Golden);
}

INSTANTIATE_TEST_SUITE_P(
    SvfFile, SvfGolden,
    ::testing::Values(TGoldenSvf{TCoreKind::pbtC, false, false, "pbtC_empty_data_first.svf"},
                      TGoldenSvf{TCoreKind::pbtC, true, false, "pbtC_full_data_first.svf"},
                      TGoldenSvf{TCoreKind::pbtII, false, true, "pbtII_empty_address_first.svf"},
                      TGoldenSvf{TCoreKind::pbtII, true, true, "pbtII_full_address_first.svf"}),
    [](const auto& info) {
        std::string name = info.param.Golden;
        return name.substr(0, name.find('.'));
    });

TScanTarget SixBitTarget() {
    return TScanTarget{{"Spartan-3", "6", "12345678", "09", "02"}, 16, 16, false};
}

struct TChainCase {
    const char* Name;
    TScanChain Chain;
    std::vector<std::string> Expected; // lines the file must hold, in this order
};

class SvfChains : public ::testing::TestWithParam<TChainCase> {};

TEST_P(SvfChains, WritesTheChainLines) {
    TMemorySettingsStore store;
    settings::StoreScanChain(store, GetParam().Chain);
    TSvfRun run = RunSvf(store);
    ASSERT_TRUE(run.Written);
    EXPECT_EQ(run.Started, std::vector<std::string>{"make flash"});
    auto line = run.Lines.begin();
    for (const auto& expected : GetParam().Expected) {
        line = std::find(line, run.Lines.end(), expected);
        ASSERT_NE(line, run.Lines.end()) << "missing or out of order: " << expected;
    }
}

TChipDescription Device(const char* chip, const char* irLength) {
    return {chip, irLength, "", "", ""};
}

std::vector<TChipDescription> Devices(int count, const char* irLength) {
    return std::vector<TChipDescription>(static_cast<std::size_t>(count), Device("D", irLength));
}

INSTANTIATE_TEST_SUITE_P(
    SvfFile, SvfChains,
    ::testing::Values(
        TChainCase{"TargetAlone",
                   {{}, SixBitTarget(), {}},
                   {"// The target chip: Spartan-3", "SIR 6 TDI (3F) SMASK (3F) ;",
                    "HIR 0 TDI (0) SMASK (0) ;", "HDR 0 TDI (0) SMASK (0) ;",
                    "TIR 0 TDI (0) SMASK (0) ;", "TDR 0 TDI (0) SMASK (0) ;",
                    "// Loading the target with IDCODE instruction", "SIR 6 TDI (09) SMASK (3F) ; ",
                    "SDR 32 TDI (00000000) SMASK (FFFFFFFF) TDO (12345678) MASK (FFFFFFFF) ;",
                    "// Loading the target with USER1 instruction", "SIR 6 TDI (02) ;",
                    "SDR 32 TDI (00000000) ;", "SDR 32 TDI (00FF0000) ;", "STATE RESET ;",
                    "STATE IDLE ;"}},
        TChainCase{"TwoDevicesBefore",
                   {{Device("XC9536", "8"), Device("XCF02S", "6")}, SixBitTarget(), {}},
                   {"// Chip 0 before the target: XC9536", "// Chip 1 before the target: XCF02S",
                    "// The target chip: Spartan-3", "SIR 20 TDI (FFFFF) SMASK (FFFFF) ;",
                    "HIR 14 TDI (3FFF) SMASK (3FFF) ;", "HDR 2 TDI (3) SMASK (3) ;",
                    "TIR 0 TDI (0) SMASK (0) ;", "TDR 0 TDI (0) SMASK (0) ;"}},
        TChainCase{"DevicesAfter",
                   {{}, SixBitTarget(), {Device("XC2C64", "8"), Device("XC2C32", "")}},
                   {"// The target chip: Spartan-3", "// Chip 0 after the target: XC2C64",
                    "// Chip 1 after the target: XC2C32", "SIR 14 TDI (3FFF) SMASK (3FFF) ;",
                    "TIR 8 TDI (FF) SMASK (FF) ;", "TDR 2 TDI (3) SMASK (3) ;"}},
        // Empty or non-numeric lengths and codes count as 0.
        TChainCase{
            "TextThatIsNoNumber",
            {{Device("A", "eight")}, TScanTarget{{"T", "", "xyz", "", "G1"}, 16, 8, false}, {}},
            {"SIR 0 TDI (0) SMASK (0) ;", "HIR 0 TDI (0) SMASK (0) ;", "HDR 1 TDI (1) SMASK (1) ;",
             "SIR 0 TDI (0) SMASK (0) ; ",
             "SDR 32 TDI (00000000) SMASK (FFFFFFFF) TDO (00000000) MASK (FFFFFFFF) ;",
             "SDR 24 TDI (000000) ;", "SDR 24 TDI (FF0000) ;"}},
        // Fields wider than 64 bits keep their full digit count.
        TChainCase{
            "ChainLongerThan64Bits",
            {Devices(10, "8"),
             TScanTarget{{"Wide", "70", "FFFFFFFFF", "9", "ABC"}, 16, 16, false},
             {}},
            {"SIR 150 TDI (3" + std::string(37, 'F') + ") SMASK (3" + std::string(37, 'F') + ") ;",
             "HIR 80 TDI (" + std::string(20, 'F') + ") SMASK (" + std::string(20, 'F') + ") ;",
             "HDR 10 TDI (3FF) SMASK (3FF) ;",
             "SIR 70 TDI (" + std::string(17, '0') + "9) SMASK (3" + std::string(17, 'F') + ") ; ",
             "SDR 32 TDI (00000000) SMASK (FFFFFFFF) TDO (FFFFFFFF) MASK (FFFFFFFF) ;",
             "SIR 70 TDI (" + std::string(15, '0') + "ABC) ;"}}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TMisfitCase {
    const char* Name;
    TCoreKind Kind;
    std::optional<TScanTarget> Target;
    std::string Message;
};

class SvfMisfits : public ::testing::TestWithParam<TMisfitCase> {};

// A register too narrow for the core's words or addresses: one failure
// line naming the widths that fit, no file, and the command still runs.
TEST_P(SvfMisfits, AreOneFailureAndNoFile) {
    TMemorySettingsStore store;
    settings::StoreScanChain(store, {{}, GetParam().Target, {}});
    TSvfRun run = RunSvf(store, GetParam().Kind);
    EXPECT_EQ(run.Log,
              (std::vector<std::string>{"Failure: " + GetParam().Message + "; SVF file not written",
                                        "!Executing: 'make flash'"}));
    EXPECT_FALSE(run.Written);
}

INSTANTIATE_TEST_SUITE_P(
    SvfFile, SvfMisfits,
    ::testing::Values(
        TMisfitCase{"WordWiderThanItsField", TCoreKind::pbt3, SixBitTarget(),
                    "The JTAG register of the settings (address width 16, data width 16) cannot "
                    "hold the 18-bit words and 1024 addresses of Picoblaze-3; widths that fit: "
                    "data width 16 with address width 18"},
        TMisfitCase{"AddressWiderThanItsField", TCoreKind::pbtII,
                    TScanTarget{{"T", "6", "0", "9", "2"}, 19, 8, false},
                    "The JTAG register of the settings (address width 19, data width 8) cannot "
                    "hold the 18-bit words and 1024 addresses of Picoblaze-II; widths that fit: "
                    "data width 16 with address width 18"},
        TMisfitCase{"NoTargetKey", TCoreKind::pbtC, std::nullopt,
                    "The JTAG register of the settings (address width 0, data width 0) cannot "
                    "hold the 16-bit words and 256 addresses of Picoblaze-CR; widths that fit: "
                    "data width 16 with address width 16, data width 16 with address width 18, "
                    "data width 8 with address width 17, data width 8 with address width 19"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TRecordCase {
    const char* Name;
    TScanTarget Target;
    int Address;
    std::uint32_t Word;
    std::string Expected;
};

class SvfRecords : public ::testing::TestWithParam<TRecordCase> {};

// The word takes AddressWidth bits and the address DataWidth bits: data
// first puts the word low and the address above it, address first the
// other way round.
TEST_P(SvfRecords, PlacesAddressAndWord) {
    TMemorySettingsStore store;
    settings::StoreScanChain(store, {{}, GetParam().Target, {}});
    std::vector<std::uint32_t> words = EmptyProgram(TCoreKind::pbt3);
    words[static_cast<std::size_t>(GetParam().Address)] = GetParam().Word;
    TSvfRun run = RunSvf(store, TCoreKind::pbt3, words);
    ASSERT_EQ(run.Lines.size(), 2u + 1u + 23u + 1024u + 2u);
    EXPECT_EQ(run.Lines[static_cast<std::size_t>(26 + GetParam().Address)], GetParam().Expected);
}

TScanTarget Layout(int addressWidth, int dataWidth, bool addressFirst) {
    return TScanTarget{{"T", "6", "0", "9", "2"}, addressWidth, dataWidth, addressFirst};
}

INSTANTIATE_TEST_SUITE_P(
    SvfFile, SvfRecords,
    ::testing::Values(
        TRecordCase{"DataFirst", Layout(18, 16, false), 5, 0x3FFFF, "SDR 34 TDI (00017FFFF) ;"},
        TRecordCase{"DataFirstLastAddress", Layout(18, 16, false), 1023, 0x1234,
                    "SDR 34 TDI (00FFC1234) ;"},
        TRecordCase{"AddressFirst", Layout(18, 16, true), 5, 0x3FFFF, "SDR 34 TDI (3FFFF0005) ;"},
        TRecordCase{"AddressFirstLastAddress", Layout(18, 16, true), 0x3FF, 0x1234,
                    "SDR 34 TDI (0123403FF) ;"},
        TRecordCase{"NarrowestFields", Layout(19, 10, true), 0x3FF, 0x3FFFF,
                    "SDR 29 TDI (0FFFFFFF) ;"},
        TRecordCase{"WidestFields", Layout(32, 32, false), 1023, 0x3FFFF,
                    "SDR 64 TDI (000003FF0003FFFF) ;"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TFailureCase {
    const char* Name;
    std::vector<std::array<const char*, 3>> Values; // key, name, value
    std::string Message;
};

class SvfSettingsFailures : public ::testing::TestWithParam<TFailureCase> {};

// Unreadable chain settings: one failure line, no file, and no EXEC.
TEST_P(SvfSettingsFailures, EndTheRunWithoutExec) {
    TMemorySettingsStore store;
    settings::StoreScanChain(store, DataFirstChain());
    for (const auto& [key, name, value] : GetParam().Values) {
        if (value)
            store.WriteValue(key, name, value);
        else
            store.DeleteValue(key, name);
    }
    TSvfRun run = RunSvf(store);
    EXPECT_EQ(run.Log, std::vector<std::string>{"Failure: " + GetParam().Message +
                                                "; SVF info not set, SVF generation aborted"});
    EXPECT_FALSE(run.Written);
    EXPECT_TRUE(run.Started.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SvfFile, SvfSettingsFailures,
    ::testing::Values(
        TFailureCase{
            "MissingCount", {{"SVF/Before", "Count", nullptr}}, "Invalid data type for 'Count'"},
        TFailureCase{
            "MistypedCount", {{"SVF/After", "Count", "one"}}, "Invalid data type for 'Count'"},
        TFailureCase{"MissingAddressWidth",
                     {{"SVF/Target", "AddressWidth", nullptr}},
                     "Invalid data type for 'AddressWidth'"},
        TFailureCase{"MistypedDataWidth",
                     {{"SVF/Target", "DataWidth", "16 bits"}},
                     "Invalid data type for 'DataWidth'"},
        TFailureCase{"MistypedAddressFirst",
                     {{"SVF/Target", "AddressFirst", "yes"}},
                     "Invalid data type for 'AddressFirst'"},
        TFailureCase{"MissingAddressFirst",
                     {{"SVF/Target", "AddressFirst", nullptr}},
                     "Invalid data type for 'AddressFirst'"},
        TFailureCase{"NegativeCount", {{"SVF/Before", "Count", "-1"}}, "Invalid value for 'Count'"},
        TFailureCase{
            "HugeCount", {{"SVF/After", "Count", "2000000000"}}, "Invalid value for 'Count'"},
        TFailureCase{"NegativeIRLength",
                     {{"SVF/Before/1", "IRLength", "-6"}},
                     "Invalid value for 'IRLength'"},
        TFailureCase{"HugeIRLength",
                     {{"SVF/Target", "IRLength", "99999999"}},
                     "Invalid value for 'IRLength'"},
        TFailureCase{"AddressWidthBeyond32",
                     {{"SVF/Target", "AddressWidth", "40"}},
                     "Invalid value for 'AddressWidth'"},
        TFailureCase{"NegativeDataWidth",
                     {{"SVF/Target", "DataWidth", "-8"}},
                     "Invalid value for 'DataWidth'"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace korvo::test
