#pragma once

#include "simulator/run_observer.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;

// Where a run spends its instructions, by routine: a routine is entered by a
// CALL or an interrupt (the return stack grows) and left when the stack
// shrinks again; the main program is the routine at address 0. Each
// completed instruction counts once for the stack of routines it ran in.
class TProfiler : public IRunObserver {
public:
    explicit TProfiler(const TPicoBlazeSimulator& simulator);

    bool WatchesCycles() const override { return true; }
    void BeforeCycle() override;
    void AfterCycle() override;

    struct TRoutine {
        int Entry = 0;
        std::uint64_t Calls = 0;     // times entered (the main program: once)
        std::uint64_t Inclusive = 0; // instructions in it and in what it called
        std::uint64_t Exclusive = 0; // instructions in it alone
    };
    // Every routine entered, the most inclusive first.
    std::vector<TRoutine> Routines() const;
    // The instructions per stack of routine entries, outermost first.
    std::map<std::vector<int>, std::uint64_t> Stacks() const;

private:
    void Enter(int entry);

    const TPicoBlazeSimulator& simulator_;
    std::vector<int> frames_{0};
    // Each stack met so far and the instructions counted for it; the index
    // of the current one, so that an instruction costs one increment.
    std::map<std::vector<int>, std::size_t> stackIndex_;
    std::vector<std::uint64_t> stackCounts_;
    std::size_t current_ = 0;
    std::map<int, std::uint64_t> calls_{{0, 1}};
    std::int32_t spBefore_ = 0;
    std::int64_t countBefore_ = 0;
};

using TRoutineNamer = std::function<std::string(int entry)>;

// A table: routine, calls, inclusive and exclusive instructions with their
// share of the run.
void WriteProfileTable(std::ostream& out, const TProfiler& profiler, const TRoutineNamer& name);
// One line per stack, "main;outer;inner COUNT": the collapsed stacks that
// flame graph tools read.
void WriteFoldedStacks(std::ostream& out, const TProfiler& profiler, const TRoutineNamer& name);

} // namespace korvo
