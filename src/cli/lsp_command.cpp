#include "cli/lsp_command.h"

#include "cli/arguments.h"
#include "lsp/lsp_server.h"
#include "settings/qt_settings_store.h"

#include <iostream>

namespace korvo::cli {

namespace {

const TOptionTable& LspOptions() {
    static const TOptionTable options{
        CoreOption("the core of every file (default: each file's own, as the\n"
                   "IDE chose it); the client setting korvo.core comes first"),
        {"--settings", "FILE",
         "reads the settings from this INI file (default: the file\n"
         "in KORVO_SETTINGS, else the IDE's settings)"},
    };
    return options;
}

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo lsp: " << message << "; try 'korvo lsp --help'\n";
    return kExitUsage;
}

} // namespace

std::string LspSynopsis() {
    return "lsp " + OptionsSynopsis(LspOptions());
}

std::string LspHelp() {
    return "Serves the Language Server Protocol on standard input and output, for editors:\n"
           "the assembler's errors as diagnostics while typing, go to definition (also\n"
           "into INCL files), references, rename, hover, completion, document symbols\n"
           "and formatting. The client setting korvo.core (initializationOptions\n"
           "{\"core\": C}, or korvo.core of workspace/didChangeConfiguration) takes the\n"
           "values of --core.\n"
           "\n" +
           OptionsHelp(LspOptions(), 23) +
           "\n"
           "exit status:\n"
           "  0  the client asked for shutdown, then exit\n"
           "  1  the client sent exit without shutdown, or went away\n"
           "  2  a bad command line, or a --settings file that cannot be read\n";
}

int RunLspCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    auto arguments = ParseArguments(args, LspOptions(), error);
    if (!arguments) return UsageError(err, error);
    if (!arguments->Positional.empty()) return UsageError(err, "lsp takes no file");
    if (!CheckSettingsFile(*arguments, error)) return UsageError(err, error);
    std::optional<TCoreKind> core;
    if (auto name = arguments->Last("--core")) {
        core = CoreKindFromName(*name);
        if (!core)
            return UsageError(err, "unknown core '" + *name + "' (use " +
                                       CoreCommandNames(", ", " or ") + ")");
    }
    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    return servers::lsp::RunLanguageServer(std::cin, out, {*settings, core});
}

} // namespace korvo::cli
