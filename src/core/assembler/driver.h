#pragma once

#include "assembler/syn_picoblaze.h"
#include "common/log.h"
#include "common/settings.h"
#include "output/output_files.h"

#include <optional>
#include <string>
#include <vector>

namespace korvo {

class IAssemblySink;

// What one assembly run works with.
struct TAssemblyContext {
    TSynPicoBlaze& Parser;
    // Receives the code image and the port map: the active document's
    // simulator in the IDE; null when there is no active document.
    IAssemblySink* Sink;
    ILog& Log;
    const ISettingsStore& Settings;
    // Starts the EXEC command; null skips it.
    IProcessLauncher* Launcher = nullptr;
    // Writes the output files of a successful run; false skips them.
    bool WriteOutput = true;
    // After a failed run, looks for another core for which the same source
    // assembles without error; the first one found (in core order) is logged
    // with OtherCoreNote and kept in OtherCore.
    bool SuggestOtherCore = false;
    std::optional<TCoreKind> OtherCore{};
};

// The log line that names a core the failed source assembles for.
std::string OtherCoreNote(TCoreKind core);

// One error of a run, for callers that point at it (editors, the CLI).
struct TAssemblyDiagnostic {
    std::string FileName; // the source, or the included file the line is in
    int Line = 0;         // 1-based
    std::string Kind;     // the short kind word before "|" ("Label"), empty when none
    std::string Message;  // the sentence after "|", or the whole text
    std::string Subject;  // the file the error is about ("not found"), empty when none
    // The word of the line the error is at (byte offset and length); Length
    // 0 when the error is about the whole line.
    TErrorWord Word;
};

// Assembles a document for the sink's core: pass 1 over its lines, pass 2
// over its lines (the words go into the sink's code image), pass 3 (the port
// map goes to the sink), then the output files and the EXEC command that
// directives named. Each pass runs only when the one before had no error;
// every error is logged ("Line N: message") and marked in listingLines,
// which ends with one entry per source line. Returns true when all three
// passes succeeded; failures of the output files do not count, except a
// VHDL template that cannot be read.
//
// The files an INCL directive names are read at its line, in each pass, so
// that their declarations take effect there; each file is read once per
// pass, and a file that includes itself, directly or through others, is an
// error of the INCL line, as is a file that cannot be read. Errors in
// included lines are logged as "?Include file:'NAME', line N: RESULT".
// A UTF-8 byte-order mark before the first line is skipped.
//
// Without a sink (no active document) it returns false and logs
// nothing. Files that cannot be read are reported, never thrown. The
// search for another core (SuggestOtherCore) follows errors in the source
// only; it assembles the source again into scratch code images and writes
// nothing.
bool AssembleSource(TAssemblyContext& context, const std::string& fileName,
                    const std::vector<std::string>& lines, std::vector<std::string>& listingLines,
                    std::vector<TAssemblyDiagnostic>* diagnostics = nullptr);

// Splits a parser result "?Kind|Message" into its parts (also for results
// without "|").
TAssemblyDiagnostic DiagnosticOf(const std::string& fileName, int line,
                                 const std::string& resultText);

// An error as a user reads it (standard error, an editor): the few messages
// that the log keeps as a bare word ("Map", "Option", " > $3FF") read as
// sentences, and the file a "not found" error is about is named.
std::string DiagnosticSentence(const TAssemblyDiagnostic& diagnostic);

} // namespace korvo
