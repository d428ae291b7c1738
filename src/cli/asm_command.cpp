#include "cli/asm_command.h"

#include "cli/arguments.h"
#include "cli/result_files.h"
#include "cli/source_assembly.h"
#include "cli/stream_log.h"
#include "common/assembly_sink.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"

#include <ostream>

namespace korvo::cli {

namespace {

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo asm: " << message << "; try 'korvo asm --help'\n";
    return kExitUsage;
}

// Text to standard output ("-") or a file; false when the file cannot be
// written, which is reported.
bool WriteResult(const std::string& target, const std::vector<std::string>& lines,
                 std::ostream& out, std::ostream& err) {
    if (target == "-") {
        for (const auto& line : lines)
            out << line << '\n';
        return true;
    }
    // What was printed comes first when the file is standard output by
    // another name.
    out.flush();
    try {
        WriteTextLines(target, lines);
        return true;
    } catch (const EFileError& failure) {
        err << "korvo asm: " << failure.what() << "\n";
        return false;
    }
}

// The code image as one word per line.
std::vector<std::string> CodeWordLines(const TAssemblyImage& image) {
    const TCoreDescription& core = CoreDescription(image.CoreKind());
    std::vector<std::string> lines;
    for (int address = 0; address < image.CodeSize(); ++address)
        lines.push_back(HexText(image.Entry(address).Word, core.WordDigits()));
    return lines;
}

// A result file that would replace one of the files the run reads, or the
// other result: the error, or empty.
std::string RefuseInputsAsOutputs(const TArguments& arguments,
                                  const std::vector<std::string>& assemblyInputs) {
    std::vector<std::pair<std::string, std::string>> results;
    for (const char* option : {"--listing", "--words"})
        if (auto file = arguments.Last(option)) results.emplace_back(option, *file);
    if (results.size() == 2 && results[0].second == "-" && results[1].second == "-")
        return "--listing - and --words - cannot both have standard output";
    return RefuseInputsAsResults(results, RunInputs(assemblyInputs, arguments.Last("--settings")));
}

// The options, in the order of the synopsis and the help.
const TOptionTable& AsmOptions() {
    static const TOptionTable options{
        CoreOption("the processor core (default: the one chosen in the IDE)"),
        ProgramSizeOption("builds a PicoBlaze 6 with " + ProgramSizesText(", ", " or ") +
                          " words of program\nmemory (default: the settings)"),
        {"--listing", "FILE|-",
         "writes the result of every source line to FILE, or to\n"
         "standard output for - (the log lines then go to\n"
         "standard error; so they do for --words -)"},
        {"--words", "FILE|-",
         "writes the code image as one hexadecimal word per line\n"
         "over the whole code space (5 digits for 18-bit cores,\n"
         "4 for 16-bit ones), as $readmemh reads it"},
        {"--no-exec", "", "does not start the EXEC command"},
        {"--settings", "FILE",
         "reads the settings from this INI file (default: the file\n"
         "in KORVO_SETTINGS, else the IDE's settings)"},
    };
    return options;
}

} // namespace

std::string AsmSynopsis() {
    return "asm " + OptionsSynopsis(AsmOptions()) + " SOURCE";
}

std::string AsmHelp() {
    return "Assembles SOURCE as the IDE does. The log lines go to standard output; each\n"
           "error also goes to standard error as FILE:LINE: error: MESSAGE, and each\n"
           "failure the log reports (an output file, a block RAM init file, the JTAG\n"
           "settings of the SVF file, the EXEC command) as SOURCE: error: MESSAGE.\n"
           "The COE, MEM, VHDL, HEX and SVF files the source names are written, and then\n"
           "the command of its EXEC directive is started. Relative file names in the\n"
           "source are taken in the folder of the file that names them.\n"
           "\n" +
           OptionsHelp(AsmOptions(), 23) +
           "\n"
           "exit status:\n"
           "  0  assembled, every output written\n"
           "  1  errors in the source or its included files, or a VHDL template that\n"
           "     cannot be read\n"
           "  2  a bad command line (a result file over an input included), or a source\n"
           "     or --settings file that cannot be read\n"
           "  4  assembled, but an output failed\n";
}

int RunAsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    auto arguments = ParseArguments(args, AsmOptions(), error);
    if (!arguments) return UsageError(err, error);
    if (arguments->Positional.size() != 1)
        return UsageError(err, arguments->Positional.empty() ? "no source file given"
                                                             : "only one source file is allowed");
    const std::string& source = arguments->Positional.front();
    if (!CheckSettingsFile(*arguments, error)) return UsageError(err, error);
    // The files known before the assembly are checked before it writes
    // anything, the included ones once it has read them.
    if (auto refused = RefuseInputsAsOutputs(*arguments, {source}); !refused.empty())
        return UsageError(err, refused);

    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *settings, error);
    if (!core) return UsageError(err, error);
    auto coreOptions = ResolveCoreOptions(*arguments, *settings, *core, error);
    if (!coreOptions) return UsageError(err, error);

    TAssemblyImage image(*core, coreOptions->ProgramSize);
    TFailureReport failures(err, source);
    // Words or a listing on standard output must stay a clean file (a
    // redirect, a pipe into a tool): the log lines go to standard error.
    const bool resultToStandardOutput =
        arguments->Last("--words") == "-" || arguments->Last("--listing") == "-";
    TStreamLog log(resultToStandardOutput ? err : out, &failures);
    // --no-exec leaves the EXEC command unstarted.
    auto assembly =
        AssembleSourceFile("asm", source, image, log, *settings, err, !arguments->Has("--no-exec"));
    if (assembly.Outcome == TAssemblyOutcome::Unreadable) return kExitUsage;
    if (auto refused = RefuseInputsAsOutputs(*arguments, assembly.InputFiles); !refused.empty())
        return UsageError(err, refused);

    bool outputsWritten = !failures.Any();
    if (auto listingFile = arguments->Last("--listing"))
        outputsWritten = WriteResult(*listingFile, assembly.Listing, out, err) && outputsWritten;
    if (auto wordsFile = arguments->Last("--words");
        wordsFile && assembly.Outcome == TAssemblyOutcome::Assembled)
        outputsWritten = WriteResult(*wordsFile, CodeWordLines(image), out, err) && outputsWritten;
    out.flush();
    if (assembly.Outcome != TAssemblyOutcome::Assembled) return kExitFailure;
    return outputsWritten ? kExitSuccess : kExitOutputFailed;
}

} // namespace korvo::cli
