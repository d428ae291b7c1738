#include "cli/asm_command.h"

#include "assembler/driver.h"
#include "cli/arguments.h"
#include "common/text_file.h"
#include "shell/platform/process_launcher.h"
#include "shell/settings/qt_settings_store.h"
#include "simulator/debugger.h"

#include <ostream>

namespace korvo::cli {

namespace {

// Every log line as the log pane would receive it, one per output line.
class TStreamLog : public ILog {
public:
    explicit TStreamLog(std::ostream& out) : out_(out) {}
    void AddLogLine(const std::string& text) override { out_ << text << '\n'; }
    void EndUpdate() override { out_.flush(); }

private:
    std::ostream& out_;
};

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo asm: " << message << " (usage: korvo " << kAsmSynopsis << ")\n";
    return kExitUsage;
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

    std::vector<std::string> lines;
    try {
        lines = ReadTextLines(source);
    } catch (const EFileError& failure) {
        err << "korvo asm: " << failure.what() << "\n";
        return kExitUsage;
    }

    TSynPicoBlaze parser;
    auto simulator = CreateDebugger(*core);
    TStreamLog log(out);
    // --no-exec leaves the EXEC command unstarted.
    TSystemProcessLauncher systemLauncher;
    IProcessLauncher* launcher = arguments->Has("--no-exec") ? nullptr : &systemLauncher;
    TAssemblyContext context{parser, simulator.get(), log, *settings, launcher};
    std::vector<std::string> listing;
    std::vector<TAssemblyDiagnostic> diagnostics;
    bool assembled = false;
    try {
        assembled = AssembleSource(context, source, lines, listing, &diagnostics);
    } catch (const EFileError& failure) {
        out.flush();
        err << "korvo asm: " << failure.what() << "\n";
        return kExitFailure;
    }

    for (const auto& diagnostic : diagnostics)
        err << diagnostic.FileName << ":" << diagnostic.Line << ": error: " << diagnostic.Message
            << "\n";

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
    return assembled ? kExitSuccess : kExitFailure;
}

} // namespace korvo::cli
