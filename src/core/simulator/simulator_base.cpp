#include "simulator/simulator_base.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace korvo {

namespace {
// Cycles executed between two looks at the clock. Small enough that the
// run loop keeps its wall-time rhythm, large enough that reading the clock
// costs nothing measurable.
constexpr int kBurstCycles = 4096;
} // namespace

std::string_view StopReasonName(TStopReason reason) {
    switch (reason) {
    case TStopReason::None: return "none";
    case TStopReason::Pause: return "pause";
    case TStopReason::Breakpoint: return "breakpoint";
    case TStopReason::RunTo: return "run-to";
    case TStopReason::Limit: return "limit";
    case TStopReason::Error: return "error";
    case TStopReason::ExitPort: return "exit-port";
    case TStopReason::Expectation: return "expectation";
    }
    return "none";
}

// --- Lifetime ---

TSimulator::TActivity::TActivity(TSimulator& simulator) : simulator_(simulator) {
    ++simulator_.activityDepth_;
}

TSimulator::TActivity::~TActivity() {
    if (--simulator_.activityDepth_ == 0 && simulator_.deletePending_) Destroy(&simulator_);
}

void TSimulator::operator delete(TSimulator* object, std::destroying_delete_t) {
    if (object->activityDepth_ > 0) {
        // A handler deleted us under a step or run: go quiet and let the
        // outermost operation finish the job.
        object->deletePending_ = true;
        object->state_ = ssIdle;
        return;
    }
    Destroy(object);
}

void TSimulator::Destroy(TSimulator* object) {
    void* storage = dynamic_cast<void*>(object);
    object->~TSimulator();
    ::operator delete(storage);
}

// --- Events and log ---

void TSimulator::Fire(const TNotifyEvent& event) {
    if (!event || deletePending_) return;
    // A copy, so that a handler may replace the event it is running from.
    TNotifyEvent handler = event;
    handler(*this);
}

void TSimulator::AddLogLine(const std::string& text) {
    if (log_ && !deletePending_) log_->AddLogLine(text);
}

// --- Observers ---

void TSimulator::AttachObserver(IRunObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
    UpdateWatchedAccesses();
}

void TSimulator::DetachObserver(IRunObserver& observer) {
    std::erase(observers_, &observer);
    UpdateWatchedAccesses();
}

void TSimulator::UpdateWatchedAccesses() {
    if (accessesMuted_) {
        for (auto& watched : watchedAccesses_)
            watched.reset();
        return;
    }
    for (int kind = 0; kind < kAccessKindCount; ++kind) {
        auto& watched = watchedAccesses_[kind];
        watched.reset();
        for (const auto* observer : observers_)
            for (int address = 0; address < 256; ++address)
                if (observer->Watches(static_cast<TAccessKind>(kind), address))
                    watched.set(address);
    }
}

void TSimulator::MuteAccesses(bool muted) {
    accessesMuted_ = muted;
    UpdateWatchedAccesses();
}

void TSimulator::ShowRestoredState() {
    TActivity activity(*this);
    Fire(OnCurrentLineChange);
    Fire(OnRunEnd);
}

bool TSimulator::CyclesWatched() const {
    return std::any_of(observers_.begin(), observers_.end(),
                       [](const IRunObserver* observer) { return observer->WatchesCycles(); });
}

void TSimulator::NotifyBeforeCycle() {
    for (auto* observer : observers_)
        observer->BeforeCycle();
}

void TSimulator::NotifyAfterCycle() {
    for (auto* observer : observers_)
        observer->AfterCycle();
}

void TSimulator::NotifyWatchedAccess(TAccessKind kind, std::int32_t address, std::int32_t value) {
    for (auto* observer : observers_)
        if (observer->Watches(kind, address)) observer->Accessed(kind, address, value);
}

bool TSimulator::WritesTakenBy(std::int32_t port) const {
    return std::any_of(observers_.begin(), observers_.end(), [port](const IRunObserver* observer) {
        return observer->TakesWritesTo(port);
    });
}

void TSimulator::ServeDueObservers() {
    for (auto* observer : observers_) {
        std::int64_t due = observer->NextDueCount();
        if (due >= 0 && due <= instructionCount_) observer->Due();
    }
}

void TSimulator::RequestStop(TStopReason reason) {
    stopReason_ = reason;
    stopRequested_ = true;
}

void TSimulator::PauseOnRequest() {
    if (!stopRequested_) return;
    stopRequested_ = false;
    if (state_ == ssRunning) SetState(ssPaused);
}

// --- Lines ---

bool TSimulator::LineIsExecuted(int line) const {
    int address = LineToAddress(line);
    return address >= 0 && IsExecuted(address);
}

bool TSimulator::LineHasCode(int line) const {
    int address = LineToAddress(line);
    return address >= 0 && HasCode(address);
}

int TSimulator::CurrentLine() const {
    return IsActive() ? AddressToLine(pc_) : -1;
}

int TSimulator::LineInfo(int line) const {
    if (line < 1) return 0;
    int info = 0;
    if (ShowsCurrentLine() && line == CurrentLine()) info |= liCurrent;
    int address = LineToAddress(line);
    if (address < 0) return info;
    if (HasCode(address)) info |= liCode;
    if (IsExecuted(address)) info |= liExecuted;
    if (IsBreakpoint(address)) info |= liBreakpoint;
    return info;
}

// --- Breakpoints ---

bool TSimulator::IsBreakpoint(int address) const {
    return address >= 0 && address < CodeSize() && breakpoints_[address] != 0;
}

void TSimulator::ToggleBreakpoint(int line) {
    TActivity activity(*this);
    int address = LineToAddress(line);
    if (address < 0 || address >= CodeSize()) return;
    breakpoints_[address] ^= 1;
    breakpointCount_ += breakpoints_[address] ? 1 : -1;
    if (OnBreakpointChange && !deletePending_) {
        TBreakpointEvent handler = OnBreakpointChange;
        handler(*this, line);
    }
}

void TSimulator::ClearBreakpoints() {
    TActivity activity(*this);
    bool anySet = std::any_of(breakpoints_.begin(), breakpoints_.end(),
                              [](std::uint8_t bit) { return bit != 0; });
    breakpoints_.fill(0);
    breakpointCount_ = 0;
    if (anySet && OnBreakpointChange && !deletePending_) {
        TBreakpointEvent handler = OnBreakpointChange;
        handler(*this, -1);
    }
}

// --- State machine ---

void TSimulator::ResetCore() {
    pc_ = 0;
    instructionCount_ = 0;
    ++resetGeneration_;
}

void TSimulator::SetState(TSimulatorState newState) {
    TActivity activity(*this);
    requestedState_ = newState;
    if (newState == state_ || deletePending_) return;
    if (newState == ssReset) {
        ResetCore();
        Fire(OnCurrentLineChange);
        Fire(OnRunEnd);
        requestedState_ = ssReset;
    }
    Fire(OnStateChange);
    if (deletePending_) return;
    if (requestedState_ == ssReset) requestedState_ = ssPaused;
    state_ = requestedState_;
    if (state_ != ssRunning) ClearRunTarget();
    Fire(OnCurrentLineChange);
    // A command between the bursts of a run (Pause, Reset) ends it.
    if (cyclesRunOpen_ && !sliceOnStack_ && state_ != ssRunning) EndCyclesRun();
}

void TSimulator::Start() {
    TActivity activity(*this);
    SetState(ssLoaded);
    SetState(ssReset);
}

void TSimulator::Reset() {
    if (IsActive()) SetState(ssReset);
}

bool TSimulator::ShouldStop() const {
    return (pc_ == runToAddress_ && (runToStackLimit_ < 0 || StackLevel() <= runToStackLimit_)) ||
           IsBreakpoint(pc_);
}

void TSimulator::ClearRunTarget() {
    runToAddress_ = -1;
    runToStackLimit_ = -1;
}

void TSimulator::Pause() {
    if (state_ != ssRunning) return;
    stopReason_ = TStopReason::Pause;
    SetState(ssPaused);
}

void TSimulator::StopWhenLimitReached() {
    if (state_ == ssRunning && instructionLimit_ >= 0 && instructionCount_ >= instructionLimit_) {
        stopReason_ = TStopReason::Limit;
        SetState(ssPaused);
    }
}

void TSimulator::Halt() {
    stopReason_ = TStopReason::Error;
    SetState(ssHalted);
}

void TSimulator::HaltOnHandlerFailure(const char* what) {
    if (deletePending_) return;
    stopReason_ = TStopReason::Error;
    SetErrorCode(seHandlerFailure);
    AddLogLine(std::string("?") + what);
    try {
        SetState(ssHalted);
    } catch (...) {
        // The state handler failed as well: halt without it.
        state_ = ssHalted;
        requestedState_ = ssHalted;
        ClearRunTarget();
    }
}

void TSimulator::Step() {
    TActivity activity(*this);
    if (!CanStep()) return;
    stopReason_ = TStopReason::None;
    stopRequested_ = false;
    try {
        Fire(OnRunStart);
        Fire(OnBeforeStep);
        ServeDueObservers();
        if (deletePending_) return;
        BeforeCycles();
        bool watched = CyclesWatched();
        if (watched) NotifyBeforeCycle();
        bool ok = ExecuteInstruction();
        if (watched) NotifyAfterCycle();
        if (!ok)
            Halt();
        else if (state_ == ssRunning && ShouldStop())
            PauseAtStop();
        PauseOnRequest();
    } catch (const std::exception& error) {
        HaltOnHandlerFailure(error.what());
    } catch (...) {
        HaltOnHandlerFailure("Unknown exception");
    }
    if (state_ != ssRunning) {
        Fire(OnCurrentLineChange);
        Fire(OnRunEnd);
    }
}

int TSimulator::RunBurstLength() const {
    // A cycle completes at most one instruction, so a burst never passes
    // the limit or the count an observer waits for; a run always executes
    // at least one cycle.
    std::int64_t length = kBurstCycles;
    if (instructionLimit_ >= 0) length = std::min(length, instructionLimit_ - instructionCount_);
    for (const auto* observer : observers_) {
        std::int64_t due = observer->NextDueCount();
        if (due > instructionCount_) length = std::min(length, due - instructionCount_);
    }
    return static_cast<int>(std::max<std::int64_t>(length, 1));
}

void TSimulator::PauseAtStop() {
    stopReason_ = pc_ == runToAddress_ ? TStopReason::RunTo : TStopReason::Breakpoint;
    SetState(ssPaused);
}

void TSimulator::StartRun() {
    stopReason_ = TStopReason::None;
    stopRequested_ = false;
    SetState(ssRunning);
    StartSlice();
    paceOrigin_.PaceGeneration = 0; // a paced run measures from its start
    Fire(OnRunStart);
}

void TSimulator::StartSlice() {
    sliceDeadline_ = clock_->NowMilliseconds() + kRunSliceMilliseconds;
}

void TSimulator::EndRun() {
    Fire(OnCurrentLineChange);
    Fire(OnRunEnd);
    ClearRunTarget();
}

void TSimulator::EndCyclesRun() {
    if (!cyclesRunOpen_) return;
    cyclesRunOpen_ = false;
    EndRun();
}

void TSimulator::RunLoop() {
    TActivity activity(*this);
    if (!CanStep()) return;
    try {
        StartRun();
        std::int64_t left = std::numeric_limits<std::int64_t>::max();
        while (RunUntilYield(left, true)) {
            Fire(OnYield);
            StartSlice();
        }
    } catch (const std::exception& error) {
        HaltOnHandlerFailure(error.what());
    } catch (...) {
        HaltOnHandlerFailure("Unknown exception");
    }
    if (!deletePending_) EndRun();
}

TStopReason TSimulator::RunSlice(std::int64_t maxCycles, bool yields) {
    TActivity activity(*this);
    bool starts = state_ != ssRunning;
    if (starts && (!CanStep() || maxCycles <= 0)) return stopReason_;
    bool sliceOnStack = sliceOnStack_;
    sliceOnStack_ = true;
    try {
        if (starts) {
            cyclesRunOpen_ = true;
            StartRun();
        } else {
            StartSlice();
        }
        std::int64_t left = maxCycles;
        RunUntilYield(left, yields);
    } catch (const std::exception& error) {
        HaltOnHandlerFailure(error.what());
    } catch (...) {
        HaltOnHandlerFailure("Unknown exception");
    }
    sliceOnStack_ = sliceOnStack;
    if (deletePending_ || state_ == ssRunning) return TStopReason::None;
    EndCyclesRun();
    return stopReason_;
}

bool TSimulator::RunUntilYield(std::int64_t& left, bool yields) {
    while (state_ == ssRunning && left > 0) {
        ServeDueObservers();
        PauseOnRequest();
        if (state_ != ssRunning || deletePending_) break;
        int burst = static_cast<int>(std::min<std::int64_t>(RunBurstLength(), left));
        if (pace_.Speed != TRunSpeed::Maximum) {
            burst = PacedBurstLength(burst);
            if (burst == 0) {
                if (yields && sliceDeadline_ <= clock_->NowMilliseconds()) return true;
                continue;
            }
        }
        left -= burst;
        BeforeCycles();
        if (RunBurst(burst) == TBurstEnd::Failed) {
            Halt();
            break;
        }
        PauseOnRequest();
        StopWhenLimitReached();
        if (deletePending_) break;
        if (!yields) continue;
        if (pace_.Speed == TRunSpeed::Animate && state_ == ssRunning) {
            // The line and the panels follow every instruction.
            Fire(OnCurrentLineChange);
            return true;
        }
        if (sliceDeadline_ <= clock_->NowMilliseconds()) {
            // A paced run sleeps while it waits for its time already.
            if (pace_.Speed == TRunSpeed::Maximum) clock_->Sleep(kYieldSleepMilliseconds);
            return true;
        }
    }
    return false;
}

bool TSimulator::StepToRun() {
    TActivity activity(*this);
    if (!CanStep()) return false;
    Step();
    return state_ == ssPaused && stopReason_ == TStopReason::None &&
           !(instructionLimit_ >= 0 && instructionCount_ >= instructionLimit_);
}

void TSimulator::Run() {
    TActivity activity(*this);
    if (StepToRun()) RunLoop();
}

bool TSimulator::AimStepOver() {
    if (!CanStep()) return false;
    if (pc_ < CodeSize() - 1) {
        runToAddress_ = pc_ + 1;
        runToStackLimit_ = CallReturnDepth();
    }
    return true;
}

bool TSimulator::AimRunToLine(int line) {
    if (!CanStep()) return false;
    runToAddress_ = LineToAddress(line);
    runToStackLimit_ = -1;
    return true;
}

void TSimulator::StepOver() {
    TActivity activity(*this);
    if (AimStepOver()) RunLoop();
}

void TSimulator::RunToLine(int line) {
    TActivity activity(*this);
    if (AimRunToLine(line)) RunLoop();
}

} // namespace korvo
