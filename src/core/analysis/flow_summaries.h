#pragma once

#include "analysis/program_flow.h"

#include <cstdint>
#include <map>
#include <vector>

namespace korvo {

// Where the program can be: an address with the interrupt enable and the
// active bank (0 A, 1 B) it runs with.
struct TFlowState {
    int Address = 0;
    bool InterruptsOn = false;
    int Bank = 0;
    int Key() const { return Address * 4 + (InterruptsOn ? 2 : 0) + Bank; }
    static TFlowState OfKey(int key) { return {key / 4, (key & 2) != 0, key & 1}; }
};

// What a routine entered in a given state does to the return stack and the
// interrupt enable, with what leads to its extremes:
// - MaxDepth: the most levels its calls push below its own return address;
// - MaxEnabledDepth: the most levels pushed at an instruction that runs
//   with interrupts enabled, -1 when none does;
// - Exits: the states (interrupt enable and bank) it can return in.
struct TRoutineSummary {
    int MaxDepth = 0;
    int DeepestCall = -1;   // the call site of MaxDepth, -1 when no call
    int DeepestCallee = -1; // the callee's state key
    int MaxEnabledDepth = -1;
    int EnabledAt = -1;     // the instruction, or the call site when EnabledCallee is set
    int EnabledCallee = -1; // the callee's state key
    std::uint8_t Exits = 0; // bit (ie * 2 + bank) for each exit state
};

// The routines of a program, each summarised once per entry state, and the
// cycles of calls found on the way.
class TFlowSummaries {
public:
    explicit TFlowSummaries(const TProgramFlow& flow) : flow_(flow) {}

    const TRoutineSummary& Of(TFlowState entry);
    // One step of a chain of calls: the call site and the routine it enters
    // (-1 for none: the last step of an enabled chain is the instruction
    // that runs with interrupts enabled).
    struct TChainStep {
        int Site;
        int Callee;
    };
    // The deepest (or deepest enabled) chain from the entry, outermost first.
    std::vector<TChainStep> DeepestChain(TFlowState entry);
    std::vector<TChainStep> DeepestEnabledChain(TFlowState entry);
    // Each recursion found: the routine entries of the cycle, in call order.
    const std::vector<std::vector<int>>& Recursions() const { return recursions_; }

private:
    void Summarise(int key);
    std::vector<TChainStep> Chain(TFlowState entry, int TRoutineSummary::*site,
                                  int TRoutineSummary::*callee);

    const TProgramFlow& flow_;
    std::map<int, TRoutineSummary> summaries_;
    std::vector<int> inProgress_;
    std::vector<std::vector<int>> recursions_;
};

} // namespace korvo
