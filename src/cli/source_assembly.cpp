#include "cli/source_assembly.h"

#include "assembler/driver.h"
#include "cli/diagnostic_text.h"
#include "common/text_file.h"
#include "platform/process_launcher.h"

#include <ostream>

namespace korvo::cli {

TSourceAssembly AssembleSourceFile(const std::string& command, const std::string& source,
                                   IAssemblySink& sink, ILog& log, const ISettingsStore& settings,
                                   std::ostream& err, bool runExec) {
    TSourceAssembly result;
    std::vector<std::string> lines;
    try {
        lines = ReadTextLines(source, kMaxTextFileBytes, TSpecialFiles::Read);
    } catch (const EFileError& failure) {
        err << "korvo " << command << ": " << failure.what() << "\n";
        result.Outcome = TAssemblyOutcome::Unreadable;
        return result;
    }

    TSynPicoBlaze parser;
    TSystemProcessLauncher systemLauncher;
    TAssemblyContext context{parser, &sink, log, settings, runExec ? &systemLauncher : nullptr};
    context.SuggestOtherCore = true;
    std::vector<TAssemblyDiagnostic> diagnostics;
    result.Outcome = AssembleSource(context, source, lines, result.Listing, &diagnostics)
                         ? TAssemblyOutcome::Assembled
                         : TAssemblyOutcome::Failed;
    result.InputFiles.push_back(source);
    const TDirectiveState& directives = parser.Directives();
    result.InputFiles.insert(result.InputFiles.end(), directives.IncludeFiles.begin(),
                             directives.IncludeFiles.end());
    if (!directives.VhdlSkeleton.empty()) result.InputFiles.push_back(directives.VhdlSkeleton);
    for (const auto& diagnostic : diagnostics)
        err << diagnostic.FileName << ":" << diagnostic.Line
            << ": error: " << DiagnosticSentence(diagnostic) << "\n";
    if (context.OtherCore)
        err << "korvo " << command << ": note: " << source << " assembles without errors for "
            << CoreDescription(*context.OtherCore).ModeCaption << " (--core "
            << CoreDescription(*context.OtherCore).CommandName << ")\n";
    else if (result.Outcome == TAssemblyOutcome::Failed && UsesKcpsmWords(lines))
        err << "korvo " << command << ": note: " << source
            << " uses KCPSM words (NAMEREG, CONSTANT, INPUT, ...); korvo import converts a KCPSM "
               "source into this dialect\n";
    return result;
}

} // namespace korvo::cli
