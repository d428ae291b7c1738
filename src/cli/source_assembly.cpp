#include "cli/source_assembly.h"

#include "assembler/driver.h"
#include "common/text_file.h"
#include "platform/process_launcher.h"

#include <ostream>

namespace korvo::cli {

TSourceAssembly AssembleSourceFile(const std::string& command, const std::string& source,
                                   TPicoBlazeDebugger& simulator, ILog& log,
                                   const ISettingsStore& settings, std::ostream& err,
                                   bool runExec) {
    TSourceAssembly result;
    std::vector<std::string> lines;
    try {
        lines = ReadTextLines(source);
    } catch (const EFileError& failure) {
        err << "korvo " << command << ": " << failure.what() << "\n";
        result.Outcome = TAssemblyOutcome::Unreadable;
        return result;
    }

    TSynPicoBlaze parser;
    TSystemProcessLauncher systemLauncher;
    TAssemblyContext context{parser, &simulator, log, settings,
                             runExec ? &systemLauncher : nullptr};
    context.SuggestOtherCore = true;
    std::vector<TAssemblyDiagnostic> diagnostics;
    try {
        result.Outcome = AssembleSource(context, source, lines, result.Listing, &diagnostics)
                             ? TAssemblyOutcome::Assembled
                             : TAssemblyOutcome::Failed;
    } catch (const EFileError& failure) {
        err << "korvo " << command << ": " << failure.what() << "\n";
        result.Outcome = TAssemblyOutcome::Aborted;
        return result;
    }
    for (const auto& diagnostic : diagnostics)
        err << diagnostic.FileName << ":" << diagnostic.Line << ": error: " << diagnostic.Message
            << "\n";
    if (context.OtherCore)
        err << "korvo " << command << ": note: " << source << " assembles without errors for "
            << CoreTraits(*context.OtherCore).ModeCaption << " (--core "
            << static_cast<int>(*context.OtherCore) << ")\n";
    return result;
}

} // namespace korvo::cli
