#pragma once

#include "common/log.h"
#include "common/settings.h"
#include "simulator/end_state_json.h"
#include "simulator/io_router.h"
#include "simulator/run_observer.h"
#include "simulator/simulator_base.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;
class TRunRecord;

// The simulation API every front end uses around a simulator (a core that
// the assembler has loaded a program into):
// - state: logs the state changes ("!Program is Started"), builds the
//   devices when a program is loaded and resets them with the core, and
//   reads the clock frequency, the scratch pad size and the UART speed from
//   the settings (or the overrides); OnStateEntered follows each change.
// - devices: IO() routes the port events to the devices of the port map and
//   holds the scratch pad and the constant ports.
// - run control: Run for a run to its stop, RunBurst for a run a caller
//   drives in bursts (the IDE's timer); both answer why the run stopped.
//   Step, Pause, Reset and the instruction limit are the simulator's own;
//   its AimStepOver and AimRunToLine set the target of bursts to come.
// - breakpoints: SetBreakpoint by source line.
// - time travel: with recording on, StepBack and RunBack go back over the
//   run (run_record.h); a reset or a new program forgets the record.
// - observers: AddObserver attaches a trace, a profiler, a VCD writer, an
//   exit port, an expected output, an interrupt schedule; the session owns
//   them and they see each access in the order added.
// - results: FinishRun at the end of a run, WriteEndState for the JSON.
//
// Attaches OnStateChange, OnRead and OnWrite of the simulator and clears
// them again when destroyed; the simulator must outlive the session.
class TSimulationSession {
public:
    TSimulationSession(TPicoBlazeSimulator& simulator, ILog& log, const ISettingsStore* settings);
    ~TSimulationSession();
    TSimulationSession(const TSimulationSession&) = delete;
    TSimulationSession& operator=(const TSimulationSession&) = delete;

    TPicoBlazeSimulator& Simulator() { return simulator_; }
    TSimulationIO& IO() { return io_; }
    ILog& Log() { return log_; }
    // Read when a program is loaded; 80 until then.
    std::int32_t FrequencyMHz() const { return frequencyMHz_; }
    // The UARTs' line speed and whether their TCP ports are served; read
    // when a program is loaded (115200 and on until then).
    std::int32_t UartBaud() const { return uartBaud_; }
    bool UartTcpBridge() const { return uartTcpBridge_; }

    // A scratch pad size that replaces the setting (0, 16, 32, 64, 128 or 256).
    void SetScratchPadSizeOverride(std::optional<int> size) { scratchPadOverride_ = size; }
    // A line speed that replaces the setting.
    void SetUartBaudOverride(std::optional<std::int32_t> baud) { uartBaudOverride_ = baud; }
    // A clock frequency in MHz that replaces the setting.
    void SetFrequencyOverride(std::optional<std::int32_t> mhz) { frequencyOverride_ = mhz; }

    // --- Run control ---
    // A run to its stop (the simulator's run loop, which sleeps and fires
    // OnYield at its own rhythm), then brings the devices up to the
    // present. Why it stopped.
    TStopReason Run();
    // One burst of a run that the caller drives: at most maxInstructions
    // instruction cycles at the simulator's pace (a paced run waits for its
    // instructions within the burst), then brings the devices up to the
    // present; a paused simulator starts running. With endsAtYield, the
    // burst also ends where the run loop would yield (its slice of wall
    // time has passed, or an animated instruction is done): the caller
    // yields then. Returns TStopReason::None while the run goes on (the
    // simulator stays ssRunning until the next burst or a stop), else why
    // it stopped: a breakpoint, the run-to target, the instruction limit,
    // an error, an observer's stop, Pause.
    TStopReason RunBurst(std::int64_t maxInstructions, bool endsAtYield = false);
    // The end of a run: writes the port logs that are not empty and
    // detaches the observers (they stay for the results).
    void FinishRun();

    // --- Stepping back ---
    // Keeps what stepping back needs, over at least the last 1,000,000
    // instructions; off forgets the record.
    void SetRecording(bool on);
    bool Recording() const { return record_ != nullptr; }
    // How many instructions can be stepped back now.
    std::int64_t RecordedSteps() const;
    // One instruction back (paused or halted; a halted core is paused
    // again); false when nothing is recorded.
    bool StepBack();
    // Back to the previous breakpoint (TStopReason::Breakpoint), or to the
    // oldest recorded state (TStopReason::Limit); TStopReason::None when
    // nothing is recorded.
    TStopReason RunBack();

    // --- Breakpoints ---
    // Sets or clears the breakpoint of a source line; false when the line
    // has no code.
    bool SetBreakpoint(int line, bool on);

    // --- Observers ---
    // Attaches an observer to the simulator and keeps it for the life of
    // the session.
    template <class TObserver>
    TObserver& AddObserver(std::unique_ptr<TObserver> observer) {
        TObserver& added = *observer;
        Keep(std::move(observer));
        return added;
    }

    // --- Results ---
    // The end state as JSON (see end_state_json.h).
    void WriteEndState(std::ostream& out, const TRunOutcome& outcome);

    // Called after the session has handled a state change, with the state
    // being entered.
    std::function<void(TSimulatorState state)> OnStateEntered;

private:
    void HandleStateChange();
    void Keep(std::unique_ptr<IRunObserver> observer);
    void DetachObservers();

    struct TOwnedObserver {
        std::unique_ptr<IRunObserver> Observer;
        bool Attached;
    };

    TPicoBlazeSimulator& simulator_;
    ILog& log_;
    const ISettingsStore* settings_;
    TSimulationIO io_;
    std::int32_t frequencyMHz_;
    std::int32_t uartBaud_;
    bool uartTcpBridge_ = true;
    std::optional<int> scratchPadOverride_;
    std::optional<std::int32_t> uartBaudOverride_;
    std::optional<std::int32_t> frequencyOverride_;
    std::vector<TOwnedObserver> observers_;
    std::unique_ptr<TRunRecord> record_;
};

} // namespace korvo
