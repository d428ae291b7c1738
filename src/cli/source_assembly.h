#pragma once

#include "common/log.h"
#include "common/settings.h"
#include "output/output_files.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo {
class IAssemblySink;
}

namespace korvo::cli {

// How an assembly of a source file ended.
enum class TAssemblyOutcome {
    Assembled,  // all three passes succeeded
    Failed,     // errors in the source or its included files
    Unreadable, // the source itself could not be read
};

struct TSourceAssembly {
    TAssemblyOutcome Outcome = TAssemblyOutcome::Failed;
    std::vector<std::string> Listing;
    // The files the assembly read: the source, its included files and the
    // VHDL template.
    std::vector<std::string> InputFiles;
};

// Reads SOURCE (a pipe too) and assembles it into the sink as the IDE does:
// the log lines go to log, every error also to err as
// "FILE:LINE: error: MESSAGE", a source that cannot be read to err as
// "korvo COMMAND: reason", and a failed source that uses KCPSM words adds a
// note that korvo import converts it. The EXEC command is started unless
// runExec is false.
TSourceAssembly AssembleSourceFile(const std::string& command, const std::string& source,
                                   IAssemblySink& sink, ILog& log, const ISettingsStore& settings,
                                   std::ostream& err, bool runExec);

} // namespace korvo::cli
