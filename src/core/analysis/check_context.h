#pragma once

#include "analysis/check_annotations.h"
#include "analysis/flow_summaries.h"
#include "analysis/program_check.h"
#include "analysis/program_flow.h"
#include "assembler/source_symbols.h"
#include "assembler/syn_picoblaze.h"

#include <set>
#include <string>
#include <vector>

namespace korvo {

// What every check of one program works with, and where it reports.
struct TCheckContext {
    const TCheckRequest& Request;
    const TAssemblyImage& Image;
    const TSynPicoBlaze& Parser;
    const TProgramFlow& Flow;
    TFlowSummaries& Summaries;
    const std::vector<TSourceSymbol>& Symbols;
    const std::map<int, TCheckAnnotation>& Annotations;
    TCheckResult& Result;

    void Report(TCheckSeverity severity, int line, std::string message) const;
    // The line of the instruction at an address (0 when none).
    int LineOf(int address) const;
    // The label at an address, else its "$" number.
    std::string AddressName(int address) const;
    // "s3", or "s3 (counter)" where the program names it.
    std::string RegisterName(int reg, int bank) const;
    std::string PortName(int port) const;
    // The entry of an interrupt, in the bank the main program starts in.
    TFlowState InterruptEntry() const;
    // Whether an interrupt can be taken at all: the main program enables
    // interrupts somewhere and the interrupt vector holds an instruction.
    bool InterruptsUsed();
};

// Every state reachable from root, following jumps and going into calls
// (and on after them).
std::set<int> ReachableStates(const TProgramFlow& flow, TFlowState root);

void CheckStackDepth(TCheckContext& context);
void CheckInterruptSafety(TCheckContext& context);
void CheckAccesses(TCheckContext& context);
void CheckReachability(TCheckContext& context);
void CheckUnusedNames(TCheckContext& context);
void CountCycles(TCheckContext& context);

} // namespace korvo
