// INCL: an included file is read at its line in both passes; its
// declarations take effect there, code in it is an error, and a file that
// includes itself or cannot be read is an error of the INCL line.
#include "assembly.h"
#include "data_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace korvo::test {
namespace {

using Lines = std::vector<std::string>;

struct TIncludeCase {
    const char* Name;
    std::vector<std::pair<std::string, std::string>> Files; // name in the folder, text
    Lines Source;
    // Lines the log must hold after phase 1 ("@" stands for the folder);
    // empty for a run that succeeds.
    Lines Errors;
};

class IncludeTest : public ::testing::TestWithParam<TIncludeCase> {};

std::string InFolder(std::string text, const std::string& folder) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
        text.replace(at, 1, folder);
    return text;
}

TEST_P(IncludeTest, ReadsTheFileAtItsLine) {
    TScratchFolder scratch;
    const std::string dir = scratch.Path() + "/";
    std::filesystem::create_directory(dir + "sub");
    ::mkfifo((dir + "fifo").c_str(), 0600);
    for (const auto& [name, text] : GetParam().Files)
        WriteBytes(dir + name, text);
    TAssembly run(TCoreKind::pbtI);
    bool good = run.Run(GetParam().Source, dir + "main.psm");
    Lines errors(run.Log.Lines.begin() + 1, run.Log.Lines.end());
    std::erase_if(errors, [](const std::string& line) { return line.starts_with("Assembler "); });
    Lines expected;
    for (const auto& line : GetParam().Errors)
        expected.push_back(InFolder(line, dir));
    EXPECT_EQ(errors, expected);
    EXPECT_EQ(good, expected.empty());
    if (!good) return;
    // main.psm: the declarations took effect at the INCL line.
    EXPECT_EQ(run.Listing.back(), "$10 $0100");
    EXPECT_EQ(run.Port(0x20).Kind, TMemKind::Output);
    EXPECT_EQ(run.Port(0x21).InFile, dir + "sub/stim.txt");
}

const std::string kDefinitions = "\xEF\xBB\xBF; board\r\nbase EQU $10\r\nleds DSOUT $20\r\n";
const std::string kIncludeDefinitions = "INCL \"defs.psm\"";
const Lines kUseDefinitions{"ORG base", "LOAD s1, base - $10"};
const std::string kDeclarationsOnly =
    "?Include|An included file holds declarations only; instructions, labels and ORG are not "
    "allowed in it";

INSTANTIATE_TEST_SUITE_P(
    Assembler, IncludeTest,
    ::testing::Values(
        TIncludeCase{
            "DeclarationsTakeEffectAtTheLine",
            {{"defs.psm", kDefinitions}, {"sub/io.psm", "DSIN $21, \"stim.txt\"\n"}},
            {kIncludeDefinitions, "INCL \"sub/io.psm\"", kUseDefinitions[0], kUseDefinitions[1]},
            {}},
        TIncludeCase{"NestedNamesAreTakenInTheIncludingFolder",
                     {{"defs.psm", kDefinitions},
                      {"sub/io.psm", "INCL \"more.psm\", \"../defs.psm\"\n"},
                      {"sub/more.psm", "DSIN $21, \"stim.txt\"\n"}},
                     {"INCL \"sub/io.psm\", \"defs.psm\"", kUseDefinitions[0], kUseDefinitions[1]},
                     {}},
        TIncludeCase{"NamesAreNotKnownBeforeTheLine",
                     {{"defs.psm", kDefinitions}},
                     {"x EQU base", kIncludeDefinitions},
                     {"Line 1: An undefined identifier found."}},
        TIncludeCase{"CodeLabelsAndOrgAreErrors",
                     {{"lib.psm", "ok EQU 1\nsub: RETURN\n  LOAD s0, 1\nORG 5\n"}},
                     {"INCL \"lib.psm\"", "CALL sub"},
                     {"?Include file:'@lib.psm', line 2: " + kDeclarationsOnly,
                      "?Include file:'@lib.psm', line 3: " + kDeclarationsOnly,
                      "?Include file:'@lib.psm', line 4: " + kDeclarationsOnly}},
        TIncludeCase{
            "FilesThatIncludeEachOtherAreAnError",
            {{"a.psm", "INCL \"b.psm\"\n"}, {"b.psm", "INCL \"a.psm\"\n"}, {"main.psm", ""}},
            {"INCL \"a.psm\"", "INCL \"main.psm\""},
            {"?Include file:'@b.psm', line 1: ?Include|\"@a.psm\" includes itself "
             "through the files it includes",
             "Line 2: \"@main.psm\" includes itself through the files it includes"}},
        TIncludeCase{"FilesThatCannotBeReadAreAnError",
                     {},
                     {"INCL \"/proc/self/mem\"", "INCL \"fifo\"", "INCL \"sub\""},
                     {"Line 1: Cannot read file \"/proc/self/mem\". Input/output error",
                      "Line 2: Cannot read file \"@fifo\". It is a FIFO, not a regular file",
                      "Line 3: Cannot open file \"@sub\". Is a directory"}},
        TIncludeCase{"PortsDeclaredTwiceAreAnErrorOfPass2",
                     {{"defs.psm", kDefinitions}},
                     {"DSOUT $20", kIncludeDefinitions, kIncludeDefinitions},
                     {"?Include file:'@defs.psm', line 3: ?Map|IO port already mapped by an "
                      "other device"}}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace korvo::test
