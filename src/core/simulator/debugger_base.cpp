#include "simulator/debugger_base.h"

#include <algorithm>
#include <exception>

namespace korvo {

namespace {
// Cycles executed between two looks at the clock. Small enough that the
// run loop keeps its wall-time rhythm, large enough that reading the clock
// costs nothing measurable.
constexpr int kBurstCycles = 4096;
} // namespace

// --- Lifetime ---

TDebugger::TActivity::TActivity(TDebugger& debugger) : debugger_(debugger) {
    ++debugger_.activityDepth_;
}

TDebugger::TActivity::~TActivity() {
    if (--debugger_.activityDepth_ == 0 && debugger_.deletePending_) Destroy(&debugger_);
}

void TDebugger::operator delete(TDebugger* object, std::destroying_delete_t) {
    if (object->activityDepth_ > 0) {
        // A handler deleted us under a step or run: go quiet and let the
        // outermost operation finish the job.
        object->deletePending_ = true;
        object->state_ = ssIdle;
        return;
    }
    Destroy(object);
}

void TDebugger::Destroy(TDebugger* object) {
    void* storage = dynamic_cast<void*>(object);
    object->~TDebugger();
    ::operator delete(storage);
}

// --- Events and log ---

void TDebugger::Fire(const TNotifyEvent& event) {
    if (!event || deletePending_) return;
    // A copy, so that a handler may replace the event it is running from.
    TNotifyEvent handler = event;
    handler(*this);
}

void TDebugger::AddLogLine(const std::string& text) {
    if (log_ && !deletePending_) log_->AddLogLine(text);
}

// --- Lines ---

bool TDebugger::LineIsExecuted(int line) const {
    int address = LineToAddress(line);
    return address >= 0 && IsExecuted(address);
}

bool TDebugger::LineHasCode(int line) const {
    int address = LineToAddress(line);
    return address >= 0 && HasCode(address);
}

int TDebugger::CurrentLine() const {
    return IsActive() ? AddressToLine(pc_) : -1;
}

int TDebugger::LineInfo(int line) const {
    if (line < 1) return 0;
    int info = 0;
    if (!IsRunning() && line == CurrentLine()) info |= liCurrent;
    int address = LineToAddress(line);
    if (address < 0) return info;
    if (HasCode(address)) info |= liCode;
    if (IsExecuted(address)) info |= liExecuted;
    if (IsBreakpoint(address)) info |= liBreakpoint;
    return info;
}

// --- Breakpoints ---

bool TDebugger::IsBreakpoint(int address) const {
    return address >= 0 && address < CodeSize() && breakpoints_[address] != 0;
}

void TDebugger::ToggleBreakpoint(int line) {
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

void TDebugger::ClearBreakpoints() {
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

void TDebugger::ResetCore() {
    pc_ = 0;
    instructionCount_ = 0;
    ++resetGeneration_;
}

void TDebugger::SetState(TSimulatorState newState) {
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
}

void TDebugger::Start() {
    TActivity activity(*this);
    SetState(ssLoaded);
    SetState(ssReset);
}

void TDebugger::Reset() {
    if (IsActive()) SetState(ssReset);
}

bool TDebugger::ShouldStop() const {
    return (pc_ == runToAddress_ && (runToStackLimit_ < 0 || StackLevel() <= runToStackLimit_)) ||
           IsBreakpoint(pc_);
}

void TDebugger::ClearRunTarget() {
    runToAddress_ = -1;
    runToStackLimit_ = -1;
}

void TDebugger::Pause() {
    if (state_ == ssRunning) SetState(ssPaused);
}

void TDebugger::StopWhenLimitReached() {
    if (state_ == ssRunning && instructionLimit_ >= 0 && instructionCount_ >= instructionLimit_)
        SetState(ssPaused);
}

void TDebugger::HaltOnHandlerFailure(const char* what) {
    if (deletePending_) return;
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

void TDebugger::Step() {
    TActivity activity(*this);
    if (!CanStep()) return;
    try {
        Fire(OnRunStart);
        Fire(OnBeforeStep);
        if (deletePending_) return;
        if (!ExecuteInstruction())
            SetState(ssHalted);
        else if (state_ == ssRunning && ShouldStop())
            SetState(ssPaused);
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

int TDebugger::RunBurstLength() const {
    if (instructionLimit_ < 0) return kBurstCycles;
    // A cycle completes at most one instruction, so a burst never passes
    // the limit; a run always executes at least one cycle.
    std::int64_t remaining = instructionLimit_ - instructionCount_;
    return static_cast<int>(std::clamp<std::int64_t>(remaining, 1, kBurstCycles));
}

void TDebugger::RunLoop() {
    TActivity activity(*this);
    if (!CanStep()) return;
    try {
        SetState(ssRunning);
        std::int64_t deadline = clock_->NowMilliseconds() + kRunSliceMilliseconds;
        Fire(OnRunStart);
        while (state_ == ssRunning) {
            if (RunBurst(RunBurstLength()) == TBurstEnd::Failed) {
                SetState(ssHalted);
                break;
            }
            StopWhenLimitReached();
            if (deletePending_) break;
            if (deadline <= clock_->NowMilliseconds()) {
                clock_->Sleep(kYieldSleepMilliseconds);
                Fire(OnYield);
                deadline = clock_->NowMilliseconds() + kRunSliceMilliseconds;
            }
        }
    } catch (const std::exception& error) {
        HaltOnHandlerFailure(error.what());
    } catch (...) {
        HaltOnHandlerFailure("Unknown exception");
    }
    if (deletePending_) return;
    Fire(OnCurrentLineChange);
    Fire(OnRunEnd);
    ClearRunTarget();
}

void TDebugger::Run() {
    TActivity activity(*this);
    if (!CanStep()) return;
    Step();
    if (state_ == ssPaused && !(instructionLimit_ >= 0 && instructionCount_ >= instructionLimit_))
        RunLoop();
}

void TDebugger::StepOver() {
    TActivity activity(*this);
    if (!CanStep()) return;
    if (pc_ < CodeSize() - 1) {
        runToAddress_ = pc_ + 1;
        runToStackLimit_ = CallReturnDepth();
    }
    RunLoop();
}

void TDebugger::RunToLine(int line) {
    TActivity activity(*this);
    if (!CanStep()) return;
    runToAddress_ = LineToAddress(line);
    runToStackLimit_ = -1;
    RunLoop();
}

} // namespace korvo
