#pragma once

#include "common/core_kind.h"
#include "common/log.h"
#include "common/process_launcher.h"
#include "common/settings.h"
#include "output/output_requests.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// What a successful assembly hands to the output writers: the code words and
// the outputs its directives asked for.
struct TOutputJob : TOutputRequests {
    TCoreKind CoreKind = TCoreKind::none;
    // Words of code space: the core's CodeSize when 0; a core built with less
    // program memory has fewer.
    int CodeSize = 0;
    std::vector<std::uint32_t> Words; // CodeSize words, address 0 first
    // The files the assembly read, which no output may replace.
    std::string SourceFileName;
    std::vector<std::string> IncludedFiles;
};

struct TOutputEnvironment {
    ILog& Log;
    // Holds the JTAG scan chain the SVF file is written for.
    const ISettingsStore& Settings;
    // Starts the EXEC command; none skips it.
    IProcessLauncher* Launcher = nullptr;
};

// Writes the COE, MEM, VHDL, HEX and SVF files the job names, in that order
// (see WriteFileBytes), then starts the EXEC command. A file that cannot be
// written, or that is the source, an included file or the VHDL template, is
// logged as one "Failure: " line and the next step runs. When the JTAG
// scan-chain settings cannot be read the SVF failure is logged and the EXEC
// command is not started. A VHDL template that exists but cannot be read is
// logged as one "Failure: " line, the steps after it do not run, and the
// result is false; otherwise true. Nothing throws.
bool WriteOutputFiles(const TOutputJob& job, const TOutputEnvironment& environment);

} // namespace korvo
