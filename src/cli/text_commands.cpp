#include "cli/text_commands.h"

#include "assembler/syn_picoblaze.h"
#include "cli/arguments.h"
#include "cli/kcpsm_check.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"
#include "text/kcpsm6_source.h"
#include "text/kcpsm_hex.h"
#include "text/kcpsm_import.h"
#include "text/kcpsm_listing.h"
#include "text/source_formatter.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

namespace korvo::cli {

namespace {

struct TTextCommand {
    const char* Name;
    std::string (*Synopsis)();
    const TOptionTable& (*Options)();
    // The option that names where the result goes instead of standard
    // output: a switch (write back into FILE) or an option with a value.
    const char* TargetOption;
};

// The options format and import share.
TOptionTable TextOptions(std::string coreHelp, std::vector<TOptionRow> more) {
    TOptionTable options{
        CoreOption(std::move(coreHelp)),
        {.Name = "--columns",
         .Value = "C1,C2,C3",
         .HelpLine = "  --columns C1,C2,C3 the three columns (default: the settings)"},
        {"--settings", "FILE", "reads the settings from this INI file"},
    };
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

const TOptionTable& FormatOptions() {
    static const TOptionTable options =
        TextOptions("the core whose words are recognised (default: the IDE's)",
                    {{"-i", "", "writes the result back into FILE"}});
    return options;
}

// Its help describes them in its text.
const TOptionTable& ImportOptions() {
    static const TOptionTable options =
        TextOptions("", {{"-o", "OUT"}, {"--kcpsm6"}, {"--check", "KCPSM.hex"}});
    return options;
}

// Everything a run needs, read from the arguments and the settings.
struct TTextJob {
    TArguments Arguments;
    std::string File;
    std::optional<std::string> Target;
    std::unique_ptr<ISettingsStore> Settings;
    TCoreKind Core = kDefaultCoreKind;
    TFormatColumns Columns;
};

std::optional<TTextJob> PrepareJob(const TTextCommand& command,
                                   const std::vector<std::string>& args, std::string& error) {
    const TOptionTable& options = command.Options();
    const bool targetTakesValue = !FindOption(options, command.TargetOption)->Value.empty();
    auto arguments = ParseArguments(args, options, error);
    if (!arguments) return std::nullopt;
    if (arguments->Positional.size() != 1) {
        error =
            std::string(arguments->Positional.empty() ? "no FILE given" : "more than one FILE") +
            "; usage: korvo " + command.Synopsis();
        return std::nullopt;
    }
    TTextJob job;
    job.File = arguments->Positional.front();
    if (targetTakesValue)
        job.Target = arguments->Last(command.TargetOption);
    else if (arguments->Has(command.TargetOption))
        job.Target = job.File;

    if (!CheckSettingsFile(*arguments, error)) return std::nullopt;
    job.Settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *job.Settings, error);
    if (!core) return std::nullopt;
    job.Core = *core;
    job.Columns = ReadFormatColumns(*job.Settings);
    if (auto text = arguments->Last("--columns")) {
        auto columns = ParseFormatColumns(*text);
        if (!columns) {
            error = "bad --columns '" + *text + "' (three numbers C1,C2,C3 from 0 to " +
                    std::to_string(kMaxFormatColumn) + ")";
            return std::nullopt;
        }
        job.Columns = *columns;
    }
    job.Arguments = std::move(*arguments);
    return job;
}

// Runs the command's body on the prepared job; a bad command line or a file
// that cannot be read or written ends with one line on err.
int RunTextCommand(const TTextCommand& command, const std::vector<std::string>& args,
                   std::ostream& err, const std::function<int(TTextJob&)>& body) {
    std::string error;
    auto job = PrepareJob(command, args, error);
    try {
        if (job) return body(*job);
    } catch (const EFileError& failure) {
        error = failure.what();
    }
    err << "korvo " << command.Name << ": " << error << "\n";
    return kExitUsage;
}

void WriteResult(const TTextJob& job, const std::vector<std::string>& lines, std::ostream& out) {
    if (job.Target)
        WriteTextLines(*job.Target, lines);
    else
        out << JoinLinesCrLf(lines) << std::flush;
}

} // namespace

std::string FormatSynopsis() {
    return "format " + OptionsSynopsis(FormatOptions()) + " FILE";
}

std::string ImportSynopsis() {
    return "import " + OptionsSynopsis(ImportOptions()) + " FILE";
}

std::string FormatHelp() {
    return "Lays the source FILE out in columns, as the IDE's Format command does, and\n"
           "prints it, or with -i writes it back into FILE.\n"
           "\n" +
           OptionsHelp(FormatOptions(), 21) +
           "\n"
           "exit status:\n"
           "  0  done\n"
           "  2  a bad command line, or a file that cannot be read or written\n";
}

std::string ImportHelp() {
    return "Converts a KCPSM3 or KCPSM6 source into the Korvo dialect and lays it out, to\n"
           "standard output or into OUT. Names the dialect cannot take (names that differ\n"
           "only in letter case, keywords of the dialect, names that start with a digit)\n"
           "are renamed at their definition and every use; the renames head the converted\n"
           "file as comments and are listed on standard error.\n"
           "\n"
           "A source that uses syntax only KCPSM6 knows (OUTPUTK, LOAD&RETURN, REGBANK,\n"
           "STRING, TABLE, INCLUDE, DEFAULT_JUMP, 42'd, label'upper, ...) is read as\n"
           "KCPSM6, and so is any with --kcpsm6: its INCLUDE files are converted and put\n"
           "in their place, STRING and TABLE are sent one instruction per byte, its\n"
           "predefined constants become EQU lines and DEFAULT_JUMP becomes DEFJUMP.\n"
           "\n"
           "--check KCPSM.hex assembles the converted source and compares its words with\n"
           "the .hex file the KCPSM assembler wrote for the source: " +
           std::to_string(kKcpsmHexWords) + " lines of " + std::to_string(kKcpsmHexDigits) +
           "\n"
           "hexadecimal digits from KCPSM3 (for PicoBlaze 3), " +
           std::to_string(kKcpsm6HexWords) +
           " from KCPSM6 (for\n"
           "PicoBlaze 6 with 4K of program memory). In place of the .hex file it takes\n"
           "the assembler's .log listing (the words of its \" AAA  WWWWW\" lines) or the\n"
           "program ROM it filled, .vhd or .v (the words of its INIT and INITP rows; a\n"
           "KCPSM6 ROM in the layout of its template that gives the most words). It\n"
           "prints the first differing addresses with both words and the source line, or\n"
           "that all words agree; the converted source is then written only with -o.\n"
           "The date, time and\n"
           "assembler version in the header of a .log stand for KCPSM6's datestamp$,\n"
           "timestamp$, KCPSM6_version$ and timestamp_hours ... datestamp_day, which\n"
           "otherwise give the time of the import and " +
           std::string(kKcpsm6Version) +
           ".\n"
           "Exit status: 0 converted (with --check: all words agree), 1 words differ or\n"
           "the converted source does not assemble, 2 bad usage or an unreadable file.\n";
}

int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const TTextCommand command{"format", FormatSynopsis, FormatOptions, "-i"};
    return RunTextCommand(command, args, err, [&](TTextJob& job) {
        TSynPicoBlaze scanner;
        WriteResult(job,
                    FormatLines(scanner,
                                ReadTextLines(job.File, kMaxTextFileBytes, TSpecialFiles::Read),
                                job.Core, job.Columns),
                    out);
        return kExitSuccess;
    });
}

int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const TTextCommand command{"import", ImportSynopsis, ImportOptions, "-o"};
    return RunTextCommand(command, args, err, [&](TTextJob& job) {
        const auto check = job.Arguments.Last("--check");
        const auto source = ReadTextLines(job.File, kMaxTextFileBytes, TSpecialFiles::Read);
        // The file of a check tells the assembler that wrote it.
        std::vector<std::uint32_t> expected;
        if (check) expected = ReadKcpsmWordsFile(*check);
        TKcpsmImportOptions options;
        options.SourceFile = job.File;
        // A listing tells when and by which version the program was assembled.
        if (check && IsKcpsmLogFile(*check)) {
            const TKcpsmLogStamps stamps = ReadKcpsmLogStamps(*check);
            options.AssemblyTime = stamps.Time;
            options.AssemblerVersion = stamps.Version;
        }
        if (job.Arguments.Has("--kcpsm6") || expected.size() == kKcpsm6HexWords)
            options.Dialect = TKcpsmDialect::Kcpsm6;
        // A check assembles for the core of the .hex file, so the layout is
        // made for it.
        const TCoreKind core = !check                               ? job.Core
                               : expected.size() == kKcpsm6HexWords ? kKcpsm6Core
                                                                    : kKcpsmCore;
        TSynPicoBlaze scanner;
        const TKcpsmConversion conversion =
            ImportKcpsmSource(scanner, source, core, job.Columns, options);
        for (const auto& note : conversion.Notes)
            err << "korvo import: note: " << note << "\n";
        for (const auto& rename : conversion.Renames)
            err << "korvo import: renamed " << rename << "\n";
        if (!check) {
            WriteResult(job, conversion.Lines, out);
            return kExitSuccess;
        }
        if (job.Target) WriteTextLines(*job.Target, conversion.Lines);
        return CheckKcpsmConversion(expected, *check, job.File, source, conversion, *job.Settings,
                                    out, err);
    });
}

} // namespace korvo::cli
