#pragma once

#include "common/core_kind.h"
#include "common/core_options.h"
#include "common/settings.h"

#include <optional>
#include <string>
#include <vector>

namespace korvo {

enum class TCheckSeverity : std::uint8_t { Error, Warning, Note };

// One finding: where, how bad, what. Notes follow the finding they explain
// (the calls of a chain, the other line of a conflict).
struct TCheckDiagnostic {
    TCheckSeverity Severity = TCheckSeverity::Warning;
    std::string FileName;
    int Line = 0; // from 1; 0 when the finding has no line
    std::string Message;
};

// Clock cycles between two points of a program.
struct TCycleRange {
    long long Min = -1; // -1: the end cannot be reached
    long long Max = -1; // -1: no bound (a loop without one, named in Unbounded)
    std::string Unbounded;
};

struct TCheckRequest {
    std::string FileName;
    std::vector<std::string> Lines;
    TCoreKind Core = TCoreKind::pbt3;
    TCoreOptions Options; // the build options of the core, as it takes them
    int ScratchPadSize = 64;
    // The labels to count the cycles between, when asked.
    std::optional<std::pair<std::string, std::string>> Cycles;
};

struct TCheckResult {
    bool Assembled = false; // false: Diagnostics hold the assembler's errors
    std::vector<TCheckDiagnostic> Diagnostics;
    // The deepest return stack the program can need, interrupt included,
    // and the core's stack.
    int StackDepth = 0;
    int StackLimit = 0;
    // The longest run with interrupts disabled while the program uses them,
    // in clock cycles; -1 when interrupts are never enabled or it has no
    // bound.
    long long InterruptLatency = -1;
    std::optional<TCycleRange> Cycles;
    int Errors() const;
    int Warnings() const;
};

// Assembles the program (without writing its output files) and looks for
// what fails at run time: a stack that overflows, registers an interrupt
// changes under the main program, scratch pad and port accesses the
// hardware does not have, code nothing reaches and names nothing uses.
TCheckResult CheckProgram(const TCheckRequest& request, const ISettingsStore& settings);

// "error", "warning", "note".
const char* SeverityText(TCheckSeverity severity);

} // namespace korvo
