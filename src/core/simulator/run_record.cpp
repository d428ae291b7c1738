#include "simulator/run_record.h"

#include "simulator/io_router.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/state_bytes.h"

#include <algorithm>

namespace korvo {

namespace {

// Replays cycles that ran already: the devices and observers take no part
// beyond what the state needs, also when a cycle throws.
class TReplayScope {
public:
    TReplayScope(TPicoBlazeSimulator& simulator, TSimulationIO& io)
        : simulator_(simulator), io_(io) {
        simulator_.SetReplaying(true);
        io_.SetReplaying(true);
    }
    ~TReplayScope() {
        io_.SetReplaying(false);
        simulator_.SetReplaying(false);
    }
    TReplayScope(const TReplayScope&) = delete;
    TReplayScope& operator=(const TReplayScope&) = delete;

private:
    TPicoBlazeSimulator& simulator_;
    TSimulationIO& io_;
};

} // namespace

TRunRecord::TRunRecord(TPicoBlazeSimulator& simulator, TSimulationIO& io, TObservers observers)
    : simulator_(simulator), io_(io), observers_(std::move(observers)) {}

void TRunRecord::BeforeCycles() {
    std::int64_t count = simulator_.InstructionCount();
    while (!checkpoints_.empty() && checkpoints_.back().Count > count) {
        bytes_ -= checkpoints_.back().State.capacity();
        checkpoints_.pop_back();
    }
    std::size_t size = checkpoints_.empty() ? 0 : checkpoints_.back().State.size();
    // A state kept at this count already was changed from outside since
    // (an edit while paused, a cycle that completed no instruction): the
    // cycles to come start from the new one.
    if (checkpoints_.empty() || checkpoints_.back().Count != count)
        checkpoints_.push_back({count, {}});
    TCheckpoint& checkpoint = checkpoints_.back();
    bytes_ -= checkpoint.State.capacity();
    checkpoint.State.clear();
    checkpoint.State.reserve(size);
    Save(checkpoint.State);
    bytes_ += checkpoint.State.capacity();
    while (checkpoints_.size() > 1 && checkpoints_[1].Count <= count - kSteps)
        DropFront();
    while (checkpoints_.size() > 1 && bytes_ > kMaxBytes)
        DropFront();
}

void TRunRecord::DropFront() {
    bytes_ -= checkpoints_.front().State.capacity();
    checkpoints_.pop_front();
}

void TRunRecord::Clear() {
    checkpoints_.clear();
    bytes_ = 0;
}

std::int64_t TRunRecord::Steps() const {
    if (checkpoints_.empty()) return 0;
    return std::max<std::int64_t>(simulator_.InstructionCount() - checkpoints_.front().Count, 0);
}

void TRunRecord::Save(std::vector<std::uint8_t>& state) const {
    TStateWriter out(state);
    simulator_.SaveState(out);
    io_.SaveState(out);
    std::vector<IRunObserver*> observers = observers_ ? observers_() : std::vector<IRunObserver*>{};
    out.Put(observers.size());
    for (const IRunObserver* observer : observers)
        observer->SaveState(out);
}

void TRunRecord::Restore(const TCheckpoint& checkpoint) {
    TStateReader in(checkpoint.State);
    simulator_.RestoreState(in);
    io_.RestoreState(in);
    std::vector<IRunObserver*> observers = observers_ ? observers_() : std::vector<IRunObserver*>{};
    std::size_t saved = 0;
    in.Get(saved);
    // An observer attached since keeps its state.
    if (saved != observers.size()) return;
    for (IRunObserver* observer : observers)
        observer->RestoreState(in);
}

void TRunRecord::Replay(std::size_t index, std::int64_t endCount, std::int64_t cycles,
                        const TVisit& visit) {
    Restore(checkpoints_[index]);
    TReplayScope replay(simulator_, io_);
    for (std::int64_t done = 0; simulator_.InstructionCount() < endCount && done != cycles;
         ++done) {
        if (visit) visit(done);
        if (!simulator_.ExecuteInstruction()) break;
    }
}

bool TRunRecord::CanGoBack() const {
    TSimulatorState state = simulator_.State();
    return (state == ssPaused || state == ssHalted) && Steps() > 0;
}

bool TRunRecord::StepBack() {
    if (!CanGoBack()) return false;
    std::int64_t target = simulator_.InstructionCount() - 1;
    std::size_t index = checkpoints_.size() - 1;
    while (index > 0 && checkpoints_[index].Count > target)
        --index;
    Replay(index, target, -1, nullptr);
    Arrive();
    return true;
}

TStopReason TRunRecord::RunBack() {
    if (!CanGoBack()) return TStopReason::None;
    std::int64_t now = simulator_.InstructionCount();
    for (std::size_t index = checkpoints_.size(); index-- > 0;) {
        std::int64_t end = index + 1 < checkpoints_.size() ? checkpoints_[index + 1].Count : now;
        std::int64_t found = -1;
        Replay(index, end, -1, [&](std::int64_t cycle) {
            if (simulator_.IsBreakpoint(simulator_.PC())) found = cycle;
        });
        if (found >= 0) {
            Replay(index, end, found, nullptr);
            Arrive();
            return TStopReason::Breakpoint;
        }
    }
    Replay(0, checkpoints_.front().Count, -1, nullptr);
    Arrive();
    return TStopReason::Limit;
}

void TRunRecord::Arrive() {
    std::int64_t count = simulator_.InstructionCount();
    while (!checkpoints_.empty() && checkpoints_.back().Count > count) {
        bytes_ -= checkpoints_.back().State.capacity();
        checkpoints_.pop_back();
    }
    if (simulator_.State() == ssHalted) simulator_.SetState(ssPaused);
    simulator_.ShowRestoredState();
}

} // namespace korvo
