#pragma once

#include "common/core_kind.h"
#include "common/log.h"
#include "common/settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// Starts an external command without waiting for it.
class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;
    // True when the process started; otherwise errorText holds the system's
    // text for the failure.
    virtual bool Launch(const std::string& commandLine, std::string& errorText) = 0;
};

// What a successful assembly hands to the output writers: the code words and
// the file names the directives gave (empty when no directive named one).
struct TOutputJob {
    TCoreKind CoreKind = TCoreKind::none;
    std::vector<std::uint32_t> Words; // CodeSize words, address 0 first
    std::string CoeFileName;
    int CoeWidth = 8;
    std::string MemFileName;
    std::string VhdlSkeleton;
    std::string VhdlTarget;
    std::string VhdlEntity;
    std::string HexFileName;
    std::string SvfFileName;
    std::string ExecCommand;
};

struct TOutputEnvironment {
    ILog& Log;
    const ISettingsStore& Settings;
    // Starts the EXEC command; none skips it.
    IProcessLauncher* Launcher = nullptr;
};

// Writes the COE, MEM, VHDL, HEX and SVF files the job names, in that order,
// then starts the EXEC command. Failures are logged; none of them throws.
void WriteOutputFiles(const TOutputJob& job, const TOutputEnvironment& environment);

} // namespace korvo
