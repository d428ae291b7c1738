#include "cli/asm_command.h"

#include "cli/arguments.h"
#include "cli/source_assembly.h"
#include "cli/stream_log.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"
#include "simulator/debugger.h"

#include <ostream>

namespace korvo::cli {

namespace {

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo asm: " << message << " (usage: korvo " << kAsmSynopsis << ")\n";
    return kExitUsage;
}

// The listing to standard output ("-") or a file; false when the file
// cannot be written, which is reported.
bool WriteListing(const std::string& target, const std::vector<std::string>& listing,
                  std::ostream& out, std::ostream& err) {
    if (target == "-") {
        for (const auto& line : listing)
            out << line << '\n';
        return true;
    }
    // What was printed comes first when the listing goes to standard output
    // by another name.
    out.flush();
    try {
        WriteTextLines(target, listing);
        return true;
    } catch (const EFileError& failure) {
        err << "korvo asm: " << failure.what() << "\n";
        return false;
    }
}

} // namespace

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

    auto simulator = CreateDebugger(*core);
    TFailureReport failures(err, source);
    TStreamLog log(out, &failures);
    // --no-exec leaves the EXEC command unstarted.
    auto assembly = AssembleSourceFile("asm", source, *simulator, log, *settings, err,
                                       !arguments->Has("--no-exec"));
    if (assembly.Outcome == TAssemblyOutcome::Unreadable) return kExitUsage;

    bool outputsWritten = !failures.Any();
    if (auto listingFile = arguments->Last("--listing"))
        outputsWritten = WriteListing(*listingFile, assembly.Listing, out, err) && outputsWritten;
    out.flush();
    if (assembly.Outcome != TAssemblyOutcome::Assembled) return kExitFailure;
    return outputsWritten ? kExitSuccess : kExitOutputFailed;
}

} // namespace korvo::cli
