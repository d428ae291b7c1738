#include "cli_support.h"

#include "common/settings_layout.h"
#include "settings/qt_settings_store.h"

#include <gtest/gtest.h>

namespace korvo::cli::test {
namespace {

const std::string kPhases = "Assembler Phase 1: building symbol table\n"
                            "Assembler Phase 2: constructing opcodes\n"
                            "Assembler Phase 3: building simulation objects\n";

// A source in a fresh folder with an empty settings file beside it, so that
// no test reads the user's own settings.
struct TWorkspace {
    TWorkspace() { WriteFile(Settings, ""); }
    std::string Source(const std::string& name, const std::string& text) const {
        WriteFile(Dir + name, text);
        return Dir + name;
    }
    korvo::test::TScratchFolder Scratch;
    std::string Dir = Scratch.Path() + "/";
    std::string Settings = Dir + "settings.ini";
};

TEST(AsmCommand, GoodSourceLogsThePhasesAndSucceeds) {
    TWorkspace space;
    auto source = space.Source("good.psm", "start: LOAD s0, 1\r\n  JUMP start\r\n");
    auto result = RunInProcess({"asm", "--settings", space.Settings, source});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, kPhases);
    EXPECT_EQ(result.Err, "");
}

TEST(AsmCommand, ErrorsGoToStandardErrorInCompilerForm) {
    TWorkspace space;
    auto source = space.Source("bad.psm", "LOAD s0, 1\nJUMP nowhere\nORG 300 ; x\n");
    auto result = RunInProcess({"asm", "--settings", space.Settings, source});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, "Assembler Phase 1: building symbol table\nLine 3: ? > $0FF\n");
    EXPECT_EQ(result.Err, source + ":3: error: Address above $0FF, the last code address\n");

    source = space.Source("bad2.psm", "LOAD s0, 1\nJUMP nowhere\nLOAD s9, 300\n");
    result = RunInProcess({"asm", "--settings", space.Settings, "--core", "CR", source});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, "Assembler Phase 1: building symbol table\n"
                          "Assembler Phase 2: constructing opcodes\n"
                          "Line 2: An undefined identifier found.\n"
                          "Line 3: This processor core doesn't have this register: s9\n");
    EXPECT_EQ(result.Err, source + ":2: error: An undefined identifier found.\n" + source +
                              ":3: error: This processor core doesn't have this register: s9\n");
}

TEST(AsmCommand, ErrorsInIncludedFilesNameThatFile) {
    TWorkspace space;
    space.Source("defs.inc", "ok EQU 1\n\nbad EQU missing\n");
    auto source = space.Source("main.psm", "INCL \"defs.inc\"\nLOAD s0, ok\n");
    auto result = RunInProcess({"asm", "--settings", space.Settings, source});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, "Assembler Phase 1: building symbol table\n?Include file:'" + space.Dir +
                              "defs.inc', line 3: ?Undefined|An undefined identifier found.\n");
    EXPECT_EQ(result.Err, space.Dir + "defs.inc:3: error: An undefined identifier found.\n");
}

TEST(AsmCommand, ListingGoesToStandardOutputOrAFile) {
    TWorkspace space;
    auto source = space.Source("p.psm", "; hello\nLOAD s0, 1\nx EQU 5\n");
    auto result = RunInProcess(
        {"asm", "--settings", space.Settings, "--core", "3", "--listing", "-", source});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, kPhases + "\n$000 $00001\n$05\n");

    std::string listing = space.Dir + "p.lst";
    result = RunInProcess({"asm", "--settings", space.Settings, "--listing", listing, source});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, kPhases);
    EXPECT_EQ(ReadFile(listing), "\r\n$00 $0001\r\n$05\r\n");

    auto bad = space.Source("b.psm", "LOAD s0, 1\nfoo\n");
    result = RunInProcess({"asm", "--settings", space.Settings, "--listing", "-", bad});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, "Assembler Phase 1: building symbol table\n"
                          "Assembler Phase 2: constructing opcodes\n"
                          "Line 2: Label without colon or an unknown opcode.\n"
                          "$00 $0001\n?Colon\n");
}

TEST(AsmCommand, CoreComesFromOptionThenSettingsThenDefault) {
    TWorkspace space;
    auto source = space.Source("p.psm", "LOAD s1, s2\n");
    int cases = 0;
    struct TCase {
        std::string Settings;
        std::vector<std::string> Options;
        std::string Word;
    };
    for (const auto& [settings, options, word] : std::vector<TCase>{
             {"", {}, "$00 $C120"},
             {"[Options]\nKorvo=3\n", {}, "$000 $01120"},
             {"[Options]\nKorvo=4\n", {}, "$00 $4140"},
             {"[Options]\nKorvo=9\n", {}, "$00 $C120"},
             {"[Options]\nKorvo=4\n", {"--core", "3"}, "$000 $01120"},
             {"", {"--core", "cr"}, "$00 $4140"},
             {"", {"--core=1"}, "$00 $C120"},
         }) {
        // A fresh file per case: QSettings keeps a file it has read and reads
        // it again only when its size or time stamp changed.
        std::string file = space.Dir + "settings" + std::to_string(++cases) + ".ini";
        WriteFile(file, settings);
        std::vector<std::string> args{"asm", "--settings", file, "--listing", "-"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(source);
        auto result = RunInProcess(args);
        EXPECT_EQ(result.Status, 0) << settings;
        EXPECT_EQ(result.Out, kPhases + word + "\n") << settings;
    }
    WriteFile(space.Dir + "pbtII.ini", "[Options]\nKorvo=2\n");
    auto result =
        RunInProcess({"asm", "--settings", space.Dir + "pbtII.ini", "--listing", "-", source});
    EXPECT_EQ(result.Status, 1);
    // The source is good for other cores: the first is named.
    EXPECT_EQ(result.Err, source + ":1: error: s1 is not a register\nkorvo asm: note: " + source +
                              " assembles without errors for Picoblaze-I (--core 1)\n");

    // The core the IDE remembers for the file comes before the stored one.
    std::string chosen = space.Dir + "chosen.ini";
    {
        TQtSettingsStore store(chosen);
        WriteInteger(store, "Options", "Korvo", 2);
        settings::StoreFileCoreKind(store, space.Dir + "./p.psm", TCoreKind::pbtC);
    }
    result = RunInProcess({"asm", "--settings", chosen, "--listing", "-", source});
    EXPECT_EQ(result.Out, kPhases + "$00 $4140\n");
}

TEST(AsmCommand, BadUsageExitsWithTwoAndOneLine) {
    TWorkspace space;
    auto source = space.Source("p.psm", "LOAD s0, 1\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"asm"},
             {"asm", source, source},
             {"asm", "--frobnicate", source},
             {"asm", "--core", "5", source},
             {"asm", source, "--listing"},
             {"asm", space.Dir + "missing.psm"},
             {"asm", space.Dir},
         }) {
        std::vector<std::string> withSettings = args;
        withSettings.insert(withSettings.begin() + 1, {"--settings", space.Settings});
        auto result = RunInProcess(withSettings);
        EXPECT_EQ(result.Status, 2) << args.back();
        EXPECT_TRUE(result.Err.starts_with("korvo asm: ")) << result.Err;
        EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
    }
}

TEST(AsmCommand, NoExecIsAccepted) {
    TWorkspace space;
    auto source = space.Source("p.psm", "EXEC \"touch never-run\"\n");
    auto result = RunInProcess({"asm", "--settings", space.Settings, "--no-exec", source});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, kPhases);
}

TEST(AsmCommand, ExecutableReadsSettingsFromTheEnvironment) {
    TWorkspace space;
    WriteFile(space.Settings, "[Options]\nKorvo=2\n");
    auto source = space.Source("p.psm", "LOAD s1F, 1\n");
    auto result =
        RunExecutable({"asm", "--listing", "-", source}, {"KORVO_SETTINGS=" + space.Settings});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, kPhases + "$000 $01F01\n");
    result = RunExecutable({"asm", source}, {"KORVO_SETTINGS=" + space.Settings + "x"});
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Err, source + ":1: error: s1F is not a register\nkorvo asm: note: " + source +
                              " assembles without errors for Picoblaze-II (--core 2)\n");
}

TEST(AsmCommand, ExampleProgramAssembles) {
    TWorkspace space;
    std::string example = std::string(KORVO_EXAMPLES_DIR) + "/blink.psm";
    auto result = RunExecutable(
        {"asm", "--settings", space.Settings, "--core", "3", "--listing", "-", example});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Err, "");
    EXPECT_TRUE(result.Out.starts_with(kPhases));
    EXPECT_NE(result.Out.find("\n$003 $30005\n$004 $34001\n"), std::string::npos) << result.Out;
}

} // namespace
} // namespace korvo::cli::test
