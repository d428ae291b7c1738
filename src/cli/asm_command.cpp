#include "cli/asm_command.h"

#include "cli/arguments.h"
#include "cli/source_assembly.h"
#include "cli/stream_log.h"
#include "common/assembly_sink.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"

#include <ostream>

namespace korvo::cli {

namespace {

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo asm: " << message << " (usage: korvo " << AsmSynopsis() << ")\n";
    return kExitUsage;
}

} // namespace

std::string AsmSynopsis() {
    return "asm " + CoreOptionSynopsis() +
           " [--listing FILE|-] [--no-exec] [--settings FILE] SOURCE";
}

int RunAsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    auto arguments =
        ParseArguments(args, {"--core", "--listing", "--settings"}, {"--no-exec"}, error);
    if (!arguments) return UsageError(err, error);
    if (arguments->Positional.size() != 1)
        return UsageError(err, arguments->Positional.empty() ? "no source file given"
                                                             : "only one source file is allowed");
    const std::string& source = arguments->Positional.front();

    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *settings, error);
    if (!core) return UsageError(err, error);

    TAssemblyImage image(*core);
    TStreamLog log(out);
    // --no-exec leaves the EXEC command unstarted.
    auto assembly =
        AssembleSourceFile("asm", source, image, log, *settings, err, !arguments->Has("--no-exec"));
    if (assembly.Outcome == TAssemblyOutcome::Unreadable) return kExitUsage;
    if (assembly.Outcome == TAssemblyOutcome::Aborted) return kExitFailure;
    const auto& listing = assembly.Listing;

    if (auto listingFile = arguments->Last("--listing")) {
        if (*listingFile == "-") {
            for (const auto& line : listing)
                out << line << '\n';
        } else {
            try {
                WriteTextLines(*listingFile, listing);
            } catch (const EFileError& failure) {
                err << "korvo asm: " << failure.what() << "\n";
                return kExitUsage;
            }
        }
    }
    out.flush();
    return assembly.Outcome == TAssemblyOutcome::Assembled ? kExitSuccess : kExitFailure;
}

} // namespace korvo::cli
