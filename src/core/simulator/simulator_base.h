#pragma once

#include "common/assembly_sink.h"
#include "common/code_entry.h"
#include "common/core_kind.h"
#include "common/log.h"
#include "common/mem_map.h"
#include "simulator/run_clock.h"
#include "simulator/run_observer.h"
#include "simulator/run_pace.h"
#include "simulator/sim_errors.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <new>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace korvo {

// Code-image entries a simulator keeps, whatever its core.
inline constexpr int kCodeImageSize = kMaxCodeSize;

enum TSimulatorState : std::uint8_t {
    ssIdle = 0,    // no program; the code image is empty
    ssLoaded = 1,  // a program was just assembled
    ssReset = 2,   // transient: the core is being reset
    ssRunning = 3, // the run loop is executing
    ssPaused = 4,  // stopped and ready to step or run
    ssHalted = 5,  // stopped by an error
};

// Bits of a LineInfo result.
enum TLineInfo : int {
    liCurrent = 1,
    liBreakpoint = 2,
    liCode = 4,
    liExecuted = 8,
};

// Why the last run or step stopped.
enum class TStopReason : std::uint8_t {
    None,        // it has not stopped (or nothing ran)
    Pause,       // the Pause command
    Breakpoint,  // a breakpoint was reached
    RunTo,       // the address of Step Over or To Cursor was reached
    Limit,       // the instruction limit was reached
    Error,       // an instruction cycle failed
    ExitPort,    // the program wrote to its exit port
    Expectation, // the program wrote a value other than the expected one
};

// "none", "pause", "breakpoint", "run-to", "limit", "error", "exit-port",
// "expectation".
std::string_view StopReasonName(TStopReason reason);

class TSimulator;

// Keeps what stepping a run back needs (run_record.h). Told before each
// step and each burst of cycles: whatever reaches the core from outside
// (edits, host input, an interrupt schedule) comes in between them.
class IRunRecorder {
public:
    virtual void BeforeCycles() = 0;

protected:
    ~IRunRecorder() = default;
};

using TNotifyEvent = std::function<void(TSimulator& sender)>;
using TBreakpointEvent = std::function<void(TSimulator& sender, int line)>;
using TReadEvent = std::function<std::int32_t(std::int32_t address, TMemKind kind)>;
using TWriteEvent = std::function<void(std::int32_t address, std::int32_t value, TMemKind kind)>;

// The simulator of one document, without knowledge of any core: the state
// machine, stepping and running, breakpoints and the mapping between code
// addresses and source lines.
//
// Event handlers may do anything a user can do while a run is on the call
// stack, including deleting the simulator: a delete that arrives while a
// step or run is active only marks the object, which then fires no further
// event and destroys itself when the outermost step or run returns.
class TSimulator {
public:
    TSimulator() = default;
    TSimulator(const TSimulator&) = delete;
    TSimulator& operator=(const TSimulator&) = delete;
    virtual ~TSimulator() = default;

    static void operator delete(TSimulator* object, std::destroying_delete_t);

    // --- Core-dependent operations ---
    virtual std::int32_t ReadData(std::int32_t address) = 0;
    virtual void WriteData(std::int32_t address, std::int32_t value) = 0;
    // Throws EMapError outside 0..CodeSize()-1.
    virtual void SetCodeEntry(int address, const TCodeEntry& entry) = 0;
    // Leaves entry unchanged outside 0..CodeSize()-1.
    virtual void GetCodeEntry(int address, TCodeEntry& entry) const = 0;
    virtual int CodeSize() const { return 0; }
    virtual bool HasCode(int /*address*/) const { return false; }
    virtual bool IsExecuted(int /*address*/) const { return false; }
    bool LineIsExecuted(int line) const;
    bool LineHasCode(int line) const;
    // Empties the code image, then enters ssIdle.
    virtual void ClearCodeImage() = 0;
    virtual void ResetCore();
    // Lowest address whose entry carries the line; -1 when none.
    virtual int LineToAddress(int /*line*/) const { return -1; }
    virtual int AddressToLine(int /*address*/) const { return -1; }
    void ResetPC() { pc_ = 0; }
    // One instruction cycle; false with ErrorCode set when it failed.
    virtual bool ExecuteInstruction() = 0;

    // --- State machine ---
    void SetState(TSimulatorState newState);
    // After a successful assembly: loaded, then reset (ends paused at 0).
    void Start();
    void Reset();
    void Step();
    // A single step, then, when still paused, the run loop.
    void Run();
    // The single step Run starts with: true when a run goes on from there.
    bool StepToRun();
    void RunLoop();
    void StepOver();
    void RunToLine(int line);
    // The targets of Step Over and Run to line for a run in bursts
    // (RunSlice): set while paused, nothing runs; false when not paused.
    bool AimStepOver();
    bool AimRunToLine(int line);
    // One burst of a run that a caller drives (a timer): starts a run when
    // paused, then executes at most maxCycles instruction cycles at the
    // run's pace (a paced run waits for its instructions within the burst).
    // When yields is set, the burst also ends where the run loop would
    // yield: once its slice of kRunSliceMilliseconds has passed (a run at
    // full speed sleeps kYieldSleepMilliseconds first) and after each
    // instruction of an animated run. Returns why the run stopped, or
    // TStopReason::None when it goes on: the state stays ssRunning until the
    // next burst or a stop (Pause, Reset between bursts end the run: OnRunEnd
    // fires then). Nothing runs when neither paused nor running or maxCycles
    // is not positive (StopReason is returned then).
    TStopReason RunSlice(std::int64_t maxCycles, bool yields = false);
    void Pause();
    bool ShouldStop() const;

    TSimulatorState State() const { return state_; }
    TSimulatorState RequestedState() const { return requestedState_; }
    bool IsActive() const { return state_ != ssIdle; }
    bool IsRunning() const { return state_ == ssRunning; }
    bool IsPaused() const { return state_ == ssPaused; }
    bool CanPause() const { return IsActive() && IsRunning(); }
    bool CanStep() const { return IsActive() && IsPaused(); }
    bool CanRunToLine(int line) const { return CanStep() && LineHasCode(line); }

    // --- Breakpoints and lines ---
    void ToggleBreakpoint(int line);
    void ClearBreakpoints();
    bool HasBreakpoints() const { return breakpointCount_ > 0; }
    bool IsBreakpoint(int address) const;
    int CurrentLine() const;
    // A set of TLineInfo bits.
    int LineInfo(int line) const;

    std::int32_t PC() const { return pc_; }
    // Instructions completed since the last reset. Kept in 64 bits so that a
    // long run cannot wrap it.
    std::int64_t InstructionCount() const { return instructionCount_; }
    std::int32_t RunToAddress() const { return runToAddress_; }

    // A run stops (pauses) once InstructionCount reaches this number; -1 for
    // no limit. Front ends without a user use it to bound a run.
    void SetInstructionLimit(std::int64_t limit) { instructionLimit_ = limit; }
    std::int64_t InstructionLimit() const { return instructionLimit_; }

    // Why the last run or step stopped.
    TStopReason StopReason() const { return stopReason_; }
    // Ends the run after the current instruction (an observer's request);
    // the simulator pauses with this reason.
    void RequestStop(TStopReason reason);

    // Observers of the runs (not owned); see IRunObserver.
    void AttachObserver(IRunObserver& observer);
    void DetachObserver(IRunObserver& observer);

    // The record put the core back to an earlier state: the current line
    // and the panels follow, as at the end of a step.
    void ShowRestoredState();

    // The log pane: access errors and failed handlers are written here.
    void SetLog(ILog* log) { log_ = log; }
    // The tick counter and sleep of the run loop; the system's by default.
    void SetRunClock(IRunClock& clock) { clock_ = &clock; }
    // The pace of runs; Maximum by default. A change takes effect at once,
    // also in a run that is going on.
    void SetRunPace(const TRunPace& pace);
    // Whether the current line is shown: while paused, and in a run that
    // animates.
    bool ShowsCurrentLine() const { return !IsRunning() || pace_.Speed == TRunSpeed::Animate; }

    // Wall-time rhythm of the run loop: run this long, then sleep and yield.
    static constexpr int kRunSliceMilliseconds = 20;
    static constexpr int kYieldSleepMilliseconds = 10;

    // The nine events. Handlers are not owned. OnRead and OnWrite must not
    // be reassigned from inside themselves.
    TBreakpointEvent OnBreakpointChange;
    TNotifyEvent OnCurrentLineChange;
    TNotifyEvent OnStateChange;
    TNotifyEvent OnYield;
    TNotifyEvent OnBeforeStep;
    TReadEvent OnRead;
    TWriteEvent OnWrite;
    TNotifyEvent OnRunStart;
    TNotifyEvent OnRunEnd;

protected:
    enum class TBurstEnd { Continue, Stopped, Failed };

    // Up to maxCycles instruction cycles of a run: stops early when a cycle
    // fails (Failed), when the state leaves ssRunning or a stop condition
    // pauses the run (Stopped).
    virtual TBurstEnd RunBurst(int maxCycles) = 0;

    void Fire(const TNotifyEvent& event);
    // Whether some observer wants BeforeCycle and AfterCycle now.
    bool CyclesWatched() const;
    void NotifyBeforeCycle();
    void NotifyAfterCycle();
    void NotifyAccess(TAccessKind kind, std::int32_t address, std::int32_t value) {
        if (AccessWatched(kind, address)) NotifyWatchedAccess(kind, address, value);
    }
    void NotifyWatchedAccess(TAccessKind kind, std::int32_t address, std::int32_t value);
    bool WritesTakenBy(std::int32_t port) const;
    // Whether some observer watches this access (address: port or offset).
    bool AccessWatched(TAccessKind kind, std::int32_t address) const {
        return watchedAccesses_[static_cast<int>(kind)][address & 0xFF];
    }
    void AddLogLine(const std::string& text);
    void StopWhenLimitReached();
    void ClearRunTarget();
    // Pauses on a breakpoint or the run-to address.
    void PauseAtStop();
    // Enters ssHalted after a failed cycle.
    void Halt();
    // Halts after an exception escaped a handler during a run and logs it.
    void HaltOnHandlerFailure(const char* what);
    virtual void SetErrorCode(std::uint8_t code) = 0;
    // For Step Over: when the instruction at the PC is a call, the depth of
    // the return stack at which its return comes back; -1 otherwise.
    virtual int CallReturnDepth() const { return -1; }
    // The depth of the return stack.
    virtual int StackLevel() const { return 0; }
    // Increases on every core reset, so that an instruction can tell that a
    // handler reset the core under it.
    std::uint32_t ResetGeneration() const { return resetGeneration_; }
    bool DeletePending() const { return deletePending_; }
    // While muted, no observer sees an access (a record replays them).
    void MuteAccesses(bool muted);
    // Before a step and each burst of cycles: tells the record of the run.
    virtual void BeforeCycles() {}

    std::int32_t pc_ = 0;
    std::int64_t instructionCount_ = 0;
    std::int32_t runToAddress_ = -1;
    // The run target counts only at this depth of the return stack or
    // lower, so that Step Over on a recursive call steps over all of it; -1
    // at any depth.
    int runToStackLimit_ = -1;
    TSimulatorState state_ = ssIdle;
    std::array<std::uint8_t, kCodeImageSize> breakpoints_{};
    // Set by RequestStop; the run loop pauses at the end of the instruction.
    bool stopRequested_ = false;
    TStopReason stopReason_ = TStopReason::None;

private:
    // Keeps the object alive while one of its operations is on the stack.
    class TActivity {
    public:
        explicit TActivity(TSimulator& simulator);
        ~TActivity();
        TActivity(const TActivity&) = delete;
        TActivity& operator=(const TActivity&) = delete;

    private:
        TSimulator& simulator_;
    };

    static void Destroy(TSimulator* object);
    // Runs until the run stops, `left` cycles are done or, when yields is
    // set, the run comes to where it yields: true then.
    bool RunUntilYield(std::int64_t& left, bool yields);
    // Marks the start of a run's slice of wall time.
    void StartSlice();
    int RunBurstLength() const;
    // A paced run's next burst: how many cycles are due now, at most
    // maxCycles; 0 after it waited.
    int PacedBurstLength(int maxCycles);
    // Calls Due() of every observer whose count has come.
    void ServeDueObservers();
    void PauseOnRequest();
    // Fires the start of a run.
    void StartRun();
    // Fires the end of a run.
    void EndRun();
    // Fires the end of a run that RunSlice started.
    void EndCyclesRun();

    TSimulatorState requestedState_ = ssIdle;
    int breakpointCount_ = 0;
    std::int64_t instructionLimit_ = -1;
    std::uint32_t resetGeneration_ = 0;
    int activityDepth_ = 0;
    bool deletePending_ = false;
    // A run that RunSlice started has not ended yet.
    bool cyclesRunOpen_ = false;
    // RunSlice is on the call stack: it ends its run itself.
    bool sliceOnStack_ = false;
    bool accessesMuted_ = false;
    // When the current slice of a run ends and the run yields.
    std::int64_t sliceDeadline_ = 0;
    ILog* log_ = nullptr;
    IRunClock* clock_ = &SystemRunClock();
    TRunPace pace_;
    // Where a paced run measures from: wall time, instruction count, and
    // the pace it measured for.
    struct TPaceOrigin {
        std::int64_t Milliseconds = 0;
        std::int64_t Instructions = 0;
        std::uint32_t PaceGeneration = 0;
    };
    TPaceOrigin paceOrigin_;
    std::uint32_t paceGeneration_ = 1;
    std::vector<IRunObserver*> observers_;
    // Per kind of access and port or offset: some observer watches it.
    std::array<std::bitset<256>, kAccessKindCount> watchedAccesses_{};
    void UpdateWatchedAccesses();
};

} // namespace korvo
