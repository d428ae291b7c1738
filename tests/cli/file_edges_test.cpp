// The korvo executable where it meets real files and shells: listings into
// pipes, files and FIFOs, files it may not read or write (as an ordinary
// user), read errors, outputs over inputs, and the exit statuses that
// report them.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace korvo::cli::test {
namespace {

const std::string kPhases = "Assembler Phase 1: building symbol table\n"
                            "Assembler Phase 2: constructing opcodes\n"
                            "Assembler Phase 3: building simulation objects\n";

struct TEdgeCase {
    const char* Name;
    std::string Source; // p.psm
    // Runs in the scratch folder; $K is korvo, $AS runs a command as an
    // ordinary user.
    std::string Script;
    int Status;
    std::string Out;      // a part of standard output
    std::string Err = {}; // a part of standard error
    bool AsOrdinaryUser = false;
};

class FileEdges : public ::testing::TestWithParam<TEdgeCase> {};

// Runs the script as the test's user, or as nobody when the tests run as
// root, whose rights would hide what an ordinary user meets.
TEST_P(FileEdges, ReportTheirOutcome) {
    const TEdgeCase& edge = GetParam();
    std::string as;
    if (edge.AsOrdinaryUser && ::geteuid() == 0) {
        if (RunShell("command -v setpriv && id nobody").Status != 0)
            GTEST_SKIP() << "no ordinary user to run as";
        as = "setpriv --reuid=nobody --regid=nogroup --clear-groups";
    }
    korvo::test::TScratchFolder scratch;
    const std::string& dir = scratch.Path();
    WriteFile(dir + "/p.psm", edge.Source);
    WriteFile(dir + "/settings.ini", "");
    TRunResult result = RunShell("chmod 777 " + ShellQuote(dir) + " && cd " + ShellQuote(dir) +
                                 " && export KORVO_SETTINGS=settings.ini && AS='" + as +
                                 "' K=" + ShellQuote(KORVO_EXECUTABLE) + " && " + edge.Script);
    EXPECT_EQ(result.Status, edge.Status) << result.Out << result.Err;
    EXPECT_NE(result.Out.find(edge.Out), std::string::npos) << result.Out;
    EXPECT_NE(result.Err.find(edge.Err), std::string::npos) << result.Err;
    if (edge.Err.empty()) {
        EXPECT_EQ(result.Err, "");
    }
}

const std::string kProgram = "LOAD s0, 1\n";
const std::string kListed = "$00 $0001";

INSTANTIATE_TEST_SUITE_P(
    Korvo, FileEdges,
    ::testing::Values(
        TEdgeCase{"ListingDashIntoAPipe", kProgram, "$K asm --listing - p.psm | cat", 0,
                  kPhases + kListed + "\n"},
        TEdgeCase{"ListingStdoutIntoAPipe", kProgram, "$K asm --listing /dev/stdout p.psm | cat", 0,
                  kPhases + kListed + "\r\n"},
        TEdgeCase{"ListingDashIntoAFile", kProgram,
                  "$K asm --listing - p.psm >o.txt; s=$?; cat o.txt; exit $s", 0,
                  kPhases + kListed + "\n"},
        TEdgeCase{"ListingStdoutIntoAFile", kProgram,
                  "$K asm --listing /dev/stdout p.psm >o.txt; s=$?; cat o.txt; exit $s", 0,
                  kPhases + kListed + "\r\n"},
        TEdgeCase{"ListingIntoAFifo", kProgram,
                  "mkfifo f; timeout 20 cat f >got & $K asm --listing f p.psm; s=$?; wait; cat "
                  "got; ls -F; "
                  "exit $s",
                  0, kListed + "\r\nf|\n"},
        TEdgeCase{"ListingIntoAHardLinkedFile", kProgram,
                  "echo old >a && ln a b && $K asm --listing a p.psm >log; s=$?; cat b; "
                  "stat -c %h a; exit $s",
                  0, kListed + "\r\n2\n"},
        TEdgeCase{"ListingThroughADanglingLink", kProgram,
                  "ln -s made l && $K asm --listing l p.psm >log; s=$?; cat made; test -L l && "
                  "exit $s",
                  0, kListed + "\r\n"},
        TEdgeCase{"ListingWithTheLongestLegalName", kProgram,
                  "n=$(printf %0255d 0) && $K asm --listing $n p.psm >log; s=$?; cat $n; exit $s",
                  0, kListed + "\r\n"},
        TEdgeCase{"EndlessSourceStopsAtTheLimit", "", "$K asm /dev/zero", 2, "",
                  "korvo asm: Cannot read file \"/dev/zero\". It is larger than 64 MiB"},
        TEdgeCase{"DeviceAsInitFile", "rom BROM 5, 16, \"/dev/zero\"\n", "$K asm p.psm", 4,
                  "Failure: in BRAM 'rom' init: Cannot read file \"/dev/zero\". It is a device",
                  "p.psm: error: in BRAM 'rom' init"},
        TEdgeCase{"PortsSharingALogFile",
                  "DSOUT 1, \"s.log\", \"a%d\"\nDSOUT 2, \"s.log\", \"b%d\"\nLOAD s0, 1\n"
                  "OUT s0, 1\nOUT s0, 2\nOUT s0, 1\n",
                  "$K sim --max-instructions 4 p.psm >o; s=$?; cat s.log; exit $s", 0,
                  "a1\r\nb1\r\na1\r\n"},
        TEdgeCase{"EveryCommandHasHelp", kProgram,
                  "for c in asm sim format import; do $K $c --help | grep -q 'xit status' || "
                  "exit 9; done; $K --help",
                  0, "unless --no-exec"},
        TEdgeCase{"ListingInAReadOnlyFolderIsWrittenInPlace", kProgram,
                  "mkdir ro && : >ro/l.lst && chmod 666 ro/l.lst && chmod 555 ro && "
                  "$AS $K asm --listing ro/l.lst p.psm >log; s=$?; cat ro/l.lst; ls -A ro; exit $s",
                  0, kListed + "\r\nl.lst\n", "", true},
        TEdgeCase{"ReadOnlyListingIsRefused", kProgram,
                  ": >l.lst && chmod 444 l.lst && $AS $K asm --listing l.lst p.psm", 4, kPhases,
                  "korvo asm: Cannot create file \"l.lst\". Permission denied", true},
        TEdgeCase{"UnreadableInitFileIsAnOutputFailure", "rom BROM 5, 16, \"init.mem\"\n",
                  ": >init.mem && chmod 000 init.mem && $AS $K asm p.psm", 4,
                  "Failure: in BRAM 'rom' init: Cannot open file",
                  "p.psm: error: in BRAM 'rom' init: Cannot open file", true},
        TEdgeCase{"SourceInAnUnreadableFolder", kProgram,
                  "mkdir nr && cp p.psm nr && chmod 0 nr && $AS $K asm nr/p.psm", 2, "",
                  "korvo asm: Cannot open file \"nr/p.psm\". Permission denied", true},
        TEdgeCase{"ReadErrorOfAnIncludedFile", "INCL \"/proc/self/mem\"\n", "$K asm p.psm", 1,
                  "Line 1: Cannot read file \"/proc/self/mem\". Input/output error",
                  "p.psm:1: error: Cannot read file \"/proc/self/mem\". Input/output error"},
        TEdgeCase{"OutputOverTheSource", "HEX \"p.psm\"\n",
                  "$K asm p.psm; s=$?; cat p.psm; exit $s", 4,
                  "Failure: Output not written: \"p.psm\" is the source file\nHEX",
                  "p.psm: error: Output not written"},
        TEdgeCase{"MissingIncludedFileIsNamed", "INCL \"none.psm\"\n", "$K asm p.psm", 1,
                  "Line 1: Include file not found",
                  "p.psm:1: error: Include file not found: \"none.psm\""},
        TEdgeCase{"KcpsmSourceGetsANote", "NAMEREG s0, count\nCONSTANT max, 10\n", "$K asm p.psm",
                  1, "", "korvo import converts a KCPSM source"},
        TEdgeCase{"LogFileThatCannotBeWritten", "DSOUT 1, \"missing/x.log\"\nOUT s0, 1\n",
                  "$K sim --max-instructions 1 p.psm", 4, "Failure: Cannot create file",
                  "p.psm: error: Cannot create file \"missing/x.log\""},
        TEdgeCase{"StimulusFileThatIsAFifo", "DSIN 1, \"f\"\nLOAD s0, 1\n",
                  "mkfifo f && $K sim --max-instructions 1 p.psm", 4,
                  "Failure: Cannot read file \"f\". It is a FIFO, not a regular file",
                  "p.psm: error: Cannot read file"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace korvo::cli::test
