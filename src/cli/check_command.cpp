#include "cli/check_command.h"

#include "analysis/program_check.h"
#include "cli/arguments.h"
#include "cli/result_files.h"
#include "common/json_writer.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"

#include <ostream>
#include <sstream>

namespace korvo::cli {

namespace {

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo check: " << message << "; try 'korvo check --help'\n";
    return kExitUsage;
}

// "--cycles FROM TO" takes two words, which the common parser does not do.
std::optional<std::pair<std::string, std::string>> TakeCycles(std::vector<std::string>& args,
                                                              std::string& error) {
    std::optional<std::pair<std::string, std::string>> cycles;
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] != "--cycles") continue;
        if (i + 2 >= args.size() || args[i + 1].starts_with("-") || args[i + 2].starts_with("-")) {
            error = "--cycles needs two labels, FROM and TO";
            return std::nullopt;
        }
        cycles = std::pair{args[i + 1], args[i + 2]};
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 3);
        --i;
    }
    return cycles;
}

std::string Location(const TCheckDiagnostic& diagnostic) {
    return diagnostic.Line > 0 ? diagnostic.FileName + ":" + std::to_string(diagnostic.Line)
                               : diagnostic.FileName;
}

std::string CycleText(const TCycleRange& range) {
    if (range.Min < 0) return "the end is never reached";
    std::string text = "at least " + std::to_string(range.Min) + ", at most ";
    return text + (range.Max < 0 ? "unbounded: " + range.Unbounded : std::to_string(range.Max));
}

void WriteJson(std::ostream& stream, const TCheckResult& result,
               const std::optional<std::pair<std::string, std::string>>& cycles) {
    TJsonWriter json(stream);
    json.BeginObject().Key("assembled").Boolean(result.Assembled);
    json.Key("errors").Integer(result.Errors()).Key("warnings").Integer(result.Warnings());
    json.Key("diagnostics").BeginArray();
    for (const auto& diagnostic : result.Diagnostics) {
        json.BeginObject().Key("file").String(diagnostic.FileName);
        json.Key("line").Integer(diagnostic.Line);
        json.Key("severity").String(SeverityText(diagnostic.Severity));
        json.Key("message").String(diagnostic.Message).EndObject();
    }
    json.EndArray();
    json.Key("stack").BeginObject().Key("depth").Integer(result.StackDepth);
    json.Key("limit").Integer(result.StackLimit).EndObject();
    json.Key("interruptLatencyCycles");
    if (result.InterruptLatency >= 0)
        json.Integer(result.InterruptLatency);
    else
        json.Null();
    if (cycles && result.Cycles) {
        json.Key("cycles").BeginObject().Key("from").String(cycles->first);
        json.Key("to").String(cycles->second).Key("min");
        result.Cycles->Min >= 0 ? json.Integer(result.Cycles->Min) : json.Null();
        json.Key("max");
        result.Cycles->Max >= 0 ? json.Integer(result.Cycles->Max) : json.Null();
        if (!result.Cycles->Unbounded.empty())
            json.Key("unbounded").String(result.Cycles->Unbounded);
        json.EndObject();
    }
    json.EndObject();
    stream << "\n";
}

// The options, in the order of the synopsis and the help.
const TOptionTable& CheckOptions() {
    static const TOptionTable options{
        CoreOption("the processor core (default: the one chosen in the IDE)"),
        ProgramSizeOption("a PicoBlaze 6 built with " + ProgramSizesText(", ", " or ") + " words"),
        {"--interrupt-vector", "ADDRESS", "\nwhere a PicoBlaze 6 enters its interrupt routine"},
        {.Name = "--hwbuild", .Value = "VALUE", .Synopsis = ""},
        {"--scratchpad", "BYTES", "the scratch pad size (default: the settings)"},
        {"--settings", "FILE", "reads the settings from this INI file"},
        {"--json", "FILE|-", "also writes the findings and figures as JSON"},
        {.Name = "--cycles",
         .Value = "FROM TO",
         .Help = "the fewest and most clock cycles from label FROM until\n"
                 "control reaches label TO",
         .TakenApart = true},
    };
    return options;
}

} // namespace

std::string CheckSynopsis() {
    return "check " + OptionsSynopsis(CheckOptions()) + " SOURCE";
}

std::string CheckHelp() {
    return "Assembles SOURCE (writing none of its output files) and reports what the\n"
           "program can do wrong at run time, without running it:\n"
           "  - a return stack deeper than the core's: the deepest chain of calls from\n"
           "    reset, with an interrupt where it costs most (each CALL of the chain\n"
           "    follows as a note); recursion; interrupts enabled inside the interrupt\n"
           "    routine;\n"
           "  - registers the interrupt routine changes while the main program uses\n"
           "    them, unless the routine stores and fetches them back, copies them aside\n"
           "    and back, or (PicoBlaze 6) works in the other bank;\n"
           "  - scratch pad addresses beyond its size, reads of ports declared as outputs\n"
           "    only and writes to ports declared as inputs only;\n"
           "  - code nothing reaches from reset, the interrupt vector or DEFJUMP, and\n"
           "    labels, constants, register names and ports the source never uses.\n"
           "Each finding is a line FILE:LINE: error|warning|note: MESSAGE on standard\n"
           "output, then a summary with the deepest stack and the longest stretch with\n"
           "interrupts disabled (in clock cycles, 2 per instruction).\n"
           "\n"
           "Annotations in comments tell what the code does not:\n"
           "  JUMP (s1, s0)  ;@targets first, second   where a computed JUMP or CALL goes\n"
           "  JUMP NZ, loop  ;@loop 16                 the loop this branch closes runs at\n"
           "                                           most 16 times\n"
           "\n" +
           OptionsHelp(CheckOptions(), 23) +
           "\n"
           "exit status:\n"
           "  0  no errors (warnings may have been found)\n"
           "  1  errors: in the source, or a hazard found\n"
           "  2  a bad command line, a source or --settings file that cannot be read\n"
           "  4  the --json file cannot be written\n";
}

int RunCheckCommand(const std::vector<std::string>& givenArgs, std::ostream& out,
                    std::ostream& err) {
    std::vector<std::string> args = givenArgs;
    std::string error;
    auto cycles = TakeCycles(args, error);
    if (!error.empty()) return UsageError(err, error);
    auto arguments = ParseArguments(args, CheckOptions(), error);
    if (!arguments) return UsageError(err, error);
    if (arguments->Positional.size() != 1)
        return UsageError(err, arguments->Positional.empty() ? "no source file given"
                                                             : "only one source file is allowed");
    TCheckRequest request;
    request.FileName = arguments->Positional.front();
    if (!CheckSettingsFile(*arguments, error)) return UsageError(err, error);
    if (auto json = arguments->Last("--json")) {
        auto refused = RefuseInputsAsResults(
            {{"--json", *json}}, RunInputs({request.FileName}, arguments->Last("--settings")));
        if (!refused.empty()) return UsageError(err, refused);
    }
    request.Cycles = cycles;
    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *settings, error);
    if (!core) return UsageError(err, error);
    auto options = ResolveCoreOptions(*arguments, *settings, *core, error);
    if (!options) return UsageError(err, error);
    request.Core = *core;
    request.Options = *options;
    request.ScratchPadSize = settings::ProgramScratchPadBytes(*core, *options, settings.get());
    if (auto text = arguments->Last("--scratchpad")) {
        auto size = ParseCommandLineNumber(*text);
        if (!size || *size < 0 || *size > 256)
            return UsageError(err,
                              "--scratchpad takes a size of 0 to 256 bytes, not '" + *text + "'");
        request.ScratchPadSize = *size;
    }
    try {
        request.Lines = ReadTextLines(request.FileName);
    } catch (const EFileError& failure) {
        err << "korvo check: " << failure.what() << "\n";
        return kExitUsage;
    }

    const TCheckResult result = CheckProgram(request, *settings);
    // JSON on standard output keeps it to itself: the text goes to standard error.
    const auto target = arguments->Last("--json");
    std::ostream& text = target == "-" ? err : out;
    for (const auto& diagnostic : result.Diagnostics)
        text << Location(diagnostic) << ": " << SeverityText(diagnostic.Severity) << ": "
             << diagnostic.Message << "\n";
    if (result.Assembled) {
        text << "return stack: " << result.StackDepth << " of " << result.StackLimit << " levels\n";
        if (result.InterruptLatency >= 0)
            text << "interrupts disabled for at most " << result.InterruptLatency
                 << " clock cycles\n";
        if (result.Cycles)
            text << "cycles from " << cycles->first << " to " << cycles->second << ": "
                 << CycleText(*result.Cycles) << "\n";
    }
    text << result.Errors() << (result.Errors() == 1 ? " error, " : " errors, ")
         << result.Warnings() << (result.Warnings() == 1 ? " warning\n" : " warnings\n");
    if (target) {
        std::ostringstream json;
        WriteJson(json, result, cycles);
        if (*target == "-") {
            out << json.str();
        } else {
            try {
                out.flush();
                WriteFileBytes(*target, json.str());
            } catch (const EFileError& failure) {
                err << "korvo check: " << failure.what() << "\n";
                return kExitOutputFailed;
            }
        }
    }
    out.flush();
    return result.Errors() > 0 ? kExitFailure : kExitSuccess;
}

} // namespace korvo::cli
