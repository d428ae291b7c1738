#include "cli/text_commands.h"

#include "assembler/syn_picoblaze.h"
#include "cli/arguments.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"
#include "text/kcpsm_import.h"
#include "text/source_formatter.h"

#include <functional>
#include <optional>
#include <ostream>

namespace korvo::cli {

namespace {

using TTransform = std::function<std::vector<std::string>(
    TSynHighLighterIDE&, const std::vector<std::string>&, TCoreKind, const TFormatColumns&)>;

struct TTextCommand {
    const char* Name;
    const char* Synopsis;
    // The option that names where the result goes instead of standard
    // output: a switch (write back into FILE) or an option with a value.
    const char* TargetOption;
    bool TargetTakesValue;
    TTransform Transform;
};

// Everything a run needs, read from the arguments and the settings.
struct TTextJob {
    std::string File;
    std::optional<std::string> Target;
    TCoreKind Core = TCoreKind::pbtI;
    TFormatColumns Columns;
};

std::optional<TTextJob> PrepareJob(const TTextCommand& command,
                                   const std::vector<std::string>& args, std::string& error) {
    std::set<std::string> withValue{"--core", "--columns", "--settings"};
    std::set<std::string> switches;
    (command.TargetTakesValue ? withValue : switches).insert(command.TargetOption);
    auto arguments = ParseArguments(args, withValue, switches, error);
    if (!arguments) return std::nullopt;
    if (arguments->Positional.size() != 1) {
        error =
            std::string(arguments->Positional.empty() ? "no FILE given" : "more than one FILE") +
            "; usage: korvo " + command.Synopsis;
        return std::nullopt;
    }
    TTextJob job;
    job.File = arguments->Positional.front();
    if (command.TargetTakesValue)
        job.Target = arguments->Last(command.TargetOption);
    else if (arguments->Has(command.TargetOption))
        job.Target = job.File;

    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *settings, error);
    if (!core) return std::nullopt;
    job.Core = *core;
    job.Columns = ReadFormatColumns(*settings);
    if (auto text = arguments->Last("--columns")) {
        auto columns = ParseFormatColumns(*text);
        if (!columns) {
            error = "bad --columns '" + *text + "' (three numbers C1,C2,C3 from 0 to " +
                    std::to_string(kMaxFormatColumn) + ")";
            return std::nullopt;
        }
        job.Columns = *columns;
    }
    return job;
}

int RunTextCommand(const TTextCommand& command, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err) {
    std::string error;
    auto job = PrepareJob(command, args, error);
    try {
        if (job) {
            TSynPicoBlaze scanner;
            auto lines = command.Transform(
                scanner, ReadTextLines(job->File, kMaxTextFileBytes, TSpecialFiles::Read),
                job->Core, job->Columns);
            if (job->Target)
                WriteTextLines(*job->Target, lines);
            else
                out << JoinLinesCrLf(lines) << std::flush;
            return kExitSuccess;
        }
    } catch (const EFileError& failure) {
        error = failure.what();
    }
    err << "korvo " << command.Name << ": " << error << "\n";
    return kExitUsage;
}

} // namespace

int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const TTextCommand command{"format", kFormatSynopsis, "-i", false, FormatLines};
    return RunTextCommand(command, args, out, err);
}

int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const TTextCommand command{"import", kImportSynopsis, "-o", true, ConvertKcpsmSource};
    return RunTextCommand(command, args, out, err);
}

} // namespace korvo::cli
