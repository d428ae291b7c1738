#pragma once

#include "simulator/simulator_base.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace korvo {

class IRunObserver;
class TPicoBlazeSimulator;
class TSimulationIO;

// The record that steps a run back. Before each step and each burst of
// cycles it keeps the whole state of the simulation (the core, the devices,
// the observers that steer the run) as a checkpoint: whatever reaches the
// core from outside (a user's edit, host input, an interrupt schedule) comes
// in between, so that the cycles from a checkpoint on replay exactly. To go
// back, the record restores the latest checkpoint before the place wanted
// and replays the cycles up to it; the checkpoints after it are dropped, and
// the run goes on from there as a new future.
//
// It keeps the checkpoints of at least the last kSteps instructions, in at
// most kMaxBytes: a burst keeps under a kilobyte plus the scratch pad,
// whatever its length.
class TRunRecord final : public IRunRecorder {
public:
    static constexpr std::int64_t kSteps = 1'000'000;
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    using TObservers = std::function<std::vector<IRunObserver*>()>;
    // observers: those whose state belongs to the run, asked each time.
    TRunRecord(TPicoBlazeSimulator& simulator, TSimulationIO& io, TObservers observers);
    TRunRecord(const TRunRecord&) = delete;
    TRunRecord& operator=(const TRunRecord&) = delete;

    void BeforeCycles() override;
    // Forgets every checkpoint (a reset, a new program).
    void Clear();

    // How many instructions can be stepped back now.
    std::int64_t Steps() const;
    // The bytes the checkpoints hold.
    std::size_t Bytes() const { return bytes_; }

    // One instruction back, to where the instruction count was one less;
    // false when nothing is recorded or the core is neither paused nor
    // halted. A halted core is paused again.
    bool StepBack();
    // Back to the latest place before this one where the PC is on a
    // breakpoint (Breakpoint), else to the oldest recorded state (Limit);
    // None when nothing is recorded.
    TStopReason RunBack();

private:
    struct TCheckpoint {
        std::int64_t Count;
        std::vector<std::uint8_t> State;
    };

    bool CanGoBack() const;
    void Save(std::vector<std::uint8_t>& state) const;
    void Restore(const TCheckpoint& checkpoint);
    using TVisit = std::function<void(std::int64_t cycle)>;
    // Restores checkpoint `index` and replays cycles while the instruction
    // count is below endCount and, when cycles is not negative, at most that
    // many. visit sees each state before its next cycle, after as many
    // cycles as it is told, the checkpoint's own state first.
    void Replay(std::size_t index, std::int64_t endCount, std::int64_t cycles, const TVisit& visit);
    // Drops the checkpoints after the state reached and shows it.
    void Arrive();
    void DropFront();

    TPicoBlazeSimulator& simulator_;
    TSimulationIO& io_;
    TObservers observers_;
    std::deque<TCheckpoint> checkpoints_;
    std::size_t bytes_ = 0;
};

} // namespace korvo
