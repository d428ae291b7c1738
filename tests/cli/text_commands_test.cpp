#include "cli_support.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace korvo::cli::test {
namespace {

// A scratch folder with a settings file of its own, so that no run touches
// the user's settings.
class TextCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratch_.Path();
        settings_ = dir_ + "/settings.ini";
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const {
        WriteFile(Path(name), bytes);
        return Path(name);
    }
    TRunResult Run(const std::string& command, std::vector<std::string> args) const {
        args.insert(args.begin(), {command, "--settings", settings_});
        return RunInProcess(args);
    }

    korvo::test::TScratchFolder scratch_;
    std::string dir_;
    std::string settings_;
};

const std::string kSource = "start: load s0,$f ;go\nLoad s1, 1\r\n\r  jump start";
const std::string kFormatted = "start:              LOAD      s0, $0F             ; go\r\n"
                               "Load s1, 1\r\n"
                               "\r\n"
                               "                    JUMP      start\r\n";

TEST_F(TextCommandTest, FormatPrintsCrLfLines) {
    auto file = Write("a.psm", kSource);
    auto result = Run("format", {file});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, kFormatted);
    EXPECT_EQ(result.Err, "");
    EXPECT_EQ(ReadFile(file), kSource);
}

TEST_F(TextCommandTest, FormatInPlaceRewritesTheFile) {
    auto file = Write("a.psm", kSource);
    auto result = Run("format", {"-i", file});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(ReadFile(file), kFormatted);
    // A formatted file stays as it is.
    EXPECT_EQ(Run("format", {file, "-i"}).Status, 0);
    EXPECT_EQ(ReadFile(file), kFormatted);
}

TEST_F(TextCommandTest, ColumnsAndCoreComeFromSettingsUnlessGiven) {
    WriteFile(settings_, "[Columns]\nColumn1=2\nColumn2=8\nColumn3=16\n[Options]\nKorvo=2\n");
    auto file = Write("a.psm", "add s7, sA ; x\n");
    EXPECT_EQ(Run("format", {file}).Out, "  ADD   s07, s0A; x\r\n");
    EXPECT_EQ(Run("format", {"--columns", "0,4,12", "--core", "3", file}).Out,
              "ADD s7, sA  ; x\r\n");
    EXPECT_EQ(Run("format", {"--columns=1,5,9", "--core=CR", file}).Out, " ADD s7, sA; x\r\n");
}

TEST_F(TextCommandTest, ImportConvertsAndFormats) {
    auto file =
        Write("k.psm", "CONSTANT max, FF\r\nNAMEREG s5, counter\r\nloop: ADDCY counter, 01\r\n"
                       "ENABLE INTERRUPT\r\nJUMP NZ, loop\r\n");
    const std::string expected = "max                 EQU       $FF\r\n"
                                 "counter             EQU       s5\r\n"
                                 "loop:               ADDC      counter, 1\r\n"
                                 "                    EINT      \r\n"
                                 "                    JUMP      NZ, loop\r\n";
    auto printed = Run("import", {file});
    EXPECT_EQ(printed.Status, 0) << printed.Err;
    EXPECT_EQ(printed.Out, expected);

    auto out = Path("converted.psm");
    auto written = Run("import", {"-o", out, file});
    EXPECT_EQ(written.Status, 0) << written.Err;
    EXPECT_EQ(written.Out, "");
    EXPECT_EQ(ReadFile(out), expected);
}

// The .hex form of the KCPSM3 assembler: 1024 words, unused ones 0.
std::string KcpsmHex(const std::map<int, std::string>& words) {
    std::string text;
    for (int address = 0; address < 1024; ++address)
        text += (words.count(address) ? words.at(address) : "00000") + "\r\n";
    return text;
}

TEST_F(TextCommandTest, CheckComparesTheConvertedWordsWithTheKcpsmHexFile) {
    const std::string program = std::string(KORVO_TEST_DATA_DIR) + "/text/kcpsm/case_names";
    auto match = Run("import", {"--check", program + ".hex", program + ".psm"});
    EXPECT_EQ(match.Status, 0) << match.Err;
    EXPECT_EQ(match.Out, "all 1024 words agree with " + program + ".hex\n");
    EXPECT_NE(match.Err.find("korvo import: renamed constant character_A -> character_A_1\n"),
              std::string::npos)
        << match.Err;

    // LOAD s0, 01 and ADD X, x are 00001 and 18005; a label and its rename
    // come first, so the lines of the converted file are not the source's.
    auto source = Write("k.psm", "CONSTANT X, 01\nCONSTANT x, 05\nLOAD s0, X\nADD s0, x ; five\n");
    auto good = Write("good.hex", KcpsmHex({{0, "00001"}, {1, "18005"}}));
    auto bad = Write("bad.hex", KcpsmHex({{0, "00001"}, {1, "18006"}, {0x3FF, "34000"}}));
    auto out = Path("out.psm");
    auto agree = Run("import", {"--check", good, "-o", out, source});
    EXPECT_EQ(agree.Status, 0) << agree.Err;
    EXPECT_EQ(agree.Err, "korvo import: renamed constant x -> x_1\n");
    EXPECT_NE(ReadFile(out).find("x_1"), std::string::npos);
    auto differ = Run("import", {"--check", bad, source});
    EXPECT_EQ(differ.Status, 1);
    EXPECT_EQ(differ.Out, "address 001: KCPSM 18006, converted 18005, line 4: ADD s0, x ; five\n"
                          "address 3FF: KCPSM 34000, converted 00000, no source line\n");
    EXPECT_NE(differ.Err.find("korvo import: 2 of 1024 words differ from " + bad + "\n"),
              std::string::npos)
        << differ.Err;

    // An error of the assembly names the line of the KCPSM source.
    auto broken = Write("broken.psm", "NAMEREG s4, c\nLOAD c, 01\nJUMP nowhere\n");
    auto failed = Run("import", {"--check", good, broken});
    EXPECT_EQ(failed.Status, 1);
    EXPECT_NE(failed.Err.find(broken + ":3: error: "), std::string::npos) << failed.Err;
    EXPECT_NE(failed.Err.find("does not assemble"), std::string::npos) << failed.Err;

    auto help = RunInProcess({"import", "--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("[--check KCPSM.hex] FILE"), std::string::npos) << help.Out;

    for (const std::string& malformed :
         {std::string("00001\r\n"), KcpsmHex({{5, "4000"}}), KcpsmHex({{5, "40000"}})}) {
        auto hex = Write("malformed.hex", malformed);
        auto result = Run("import", {"--check", hex, source});
        EXPECT_EQ(result.Status, 2);
        EXPECT_NE(result.Err.find("is not a KCPSM3 .hex file"), std::string::npos) << result.Err;
    }
}

TEST_F(TextCommandTest, EmptyFileGivesEmptyOutput) {
    auto file = Write("empty.psm", "");
    auto result = Run("format", {file});
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, "");
}

struct FailureCase {
    std::string Command;
    std::vector<std::string> Args; // "FILE" stands for an existing source
    std::string Message;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.Command;
    for (const auto& arg : c.Args)
        *os << " " << arg;
}

class TextCommandFailureTest : public TextCommandTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(TextCommandFailureTest, ExitsWithOneLineMessage) {
    auto file = Write("a.psm", "load s0, 1\n");
    auto args = GetParam().Args;
    for (auto& arg : args)
        if (arg == "FILE")
            arg = file;
        else if (arg.rfind("DIR/", 0) == 0)
            arg = Path(arg.substr(4));
    auto result = Run(GetParam().Command, args);
    EXPECT_EQ(result.Status, 2);
    EXPECT_EQ(result.Out, "");
    EXPECT_EQ(result.Err.rfind("korvo " + GetParam().Command + ": ", 0), 0u) << result.Err;
    EXPECT_NE(result.Err.find(GetParam().Message), std::string::npos) << result.Err;
    EXPECT_EQ(result.Err.find('\n'), result.Err.size() - 1) << result.Err;
    EXPECT_EQ(ReadFile(file), "load s0, 1\n");
}

INSTANTIATE_TEST_SUITE_P(
    BadUsage, TextCommandFailureTest,
    ::testing::Values(
        FailureCase{"format", {}, "no FILE given; usage: korvo format"},
        FailureCase{"import", {}, "no FILE given; usage: korvo import"},
        FailureCase{"format", {"FILE", "FILE"}, "more than one FILE"},
        FailureCase{"format", {"DIR/missing.psm"}, "Cannot open file"},
        FailureCase{"import", {"DIR/missing.psm"}, "Cannot open file"},
        FailureCase{"format", {"-i", "DIR/"}, "Cannot open file"},
        FailureCase{"format", {"--columns", "20,30", "FILE"}, "bad --columns '20,30'"},
        FailureCase{"format", {"--columns", "20,30,5000", "FILE"}, "bad --columns"},
        FailureCase{"import", {"--columns", "a,b,c", "FILE"}, "bad --columns"},
        FailureCase{"format", {"--core", "7", "FILE"}, "unknown core '7'"},
        FailureCase{"format", {"-o", "x", "FILE"}, "unknown option -o"},
        FailureCase{"import", {"-i", "FILE"}, "unknown option -i"},
        FailureCase{"import", {"FILE", "-o"}, "option -o needs a value"},
        FailureCase{"import", {"-o", "DIR/no/such/dir/out.psm", "FILE"}, "Cannot create file"}));

TEST_F(TextCommandTest, ExecutableUsesTheSettingsFromTheEnvironment) {
    WriteFile(settings_, "[Columns]\nColumn1=1\nColumn2=6\nColumn3=12\n");
    auto file = Write("a.psm", "RET ;x\n");
    auto result = RunExecutable({"format", file}, {"KORVO_SETTINGS=" + settings_});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, " RET        ; x\r\n");
    auto usage = RunExecutable({"import"}, {"KORVO_SETTINGS=" + settings_});
    EXPECT_EQ(usage.Status, 2);
}

} // namespace
} // namespace korvo::cli::test
