#include "simulator/simulation_session.h"

#include "common/settings_layout.h"
#include "simulator/run_record.h"
#include "simulator/simulator.h"
#include "simulator/status_strings.h"

namespace korvo {

TSimulationSession::TSimulationSession(TPicoBlazeSimulator& simulator, ILog& log,
                                       const ISettingsStore* settings)
    : simulator_(simulator), log_(log), settings_(settings), io_(log),
      frequencyMHz_(settings::kDefaultClockFrequency), uartBaud_(settings::kDefaultUartBaud) {
    io_.Attach(simulator_);
    simulator_.SetLog(&log_);
    simulator_.OnStateChange = [this](TSimulator&) { HandleStateChange(); };
}

TSimulationSession::~TSimulationSession() {
    simulator_.SetRecorder(nullptr);
    DetachObservers();
    simulator_.OnStateChange = nullptr;
    simulator_.SetLog(nullptr);
    io_.Detach();
}

void TSimulationSession::HandleStateChange() {
    TSimulatorState state = simulator_.RequestedState();
    if (record_ && (state == ssIdle || state == ssLoaded || state == ssReset)) record_->Clear();
    switch (state) {
    case ssIdle: io_.Clear(); break;
    case ssLoaded:
        if (simulator_.UsesScratchPad()) {
            simulator_.SetScratchPadSize(
                scratchPadOverride_
                    ? *scratchPadOverride_
                    : settings::ProgramScratchPadBytes(simulator_.CoreKind(),
                                                       simulator_.CoreOptions(), settings_));
        }
        frequencyMHz_ = frequencyOverride_ ? *frequencyOverride_
                        : settings_        ? settings::LoadClockFrequencyMHz(*settings_)
                                           : settings::kDefaultClockFrequency;
        uartBaud_ = uartBaudOverride_ ? *uartBaudOverride_
                    : settings_       ? settings::LoadUartBaud(*settings_)
                                      : settings::kDefaultUartBaud;
        uartTcpBridge_ = !settings_ || settings::LoadUartTcpBridge(*settings_);
        io_.SetUartTiming(uartBaud_, static_cast<std::int64_t>(frequencyMHz_) * 1'000'000);
        io_.Build(simulator_);
        break;
    case ssReset:
        log_.Progress("Program is Reset");
        io_.Reset();
        break;
    case ssRunning: log_.Progress("Program is Started"); break;
    case ssPaused: log_.Progress("Program is Paused"); break;
    case ssHalted: log_.AddLogLine(SimulatorErrorMessage(simulator_.ErrorCode())); break;
    }
    if (OnStateEntered) OnStateEntered(state);
}

TStopReason TSimulationSession::Run() {
    simulator_.RunLoop();
    io_.SynchronizeUARTs();
    return simulator_.StopReason();
}

TStopReason TSimulationSession::RunBurst(std::int64_t maxInstructions, bool endsAtYield) {
    TStopReason reason = simulator_.RunSlice(maxInstructions, endsAtYield);
    io_.SynchronizeUARTs();
    return reason;
}

void TSimulationSession::FinishRun() {
    io_.FlushPendingLogs();
    DetachObservers();
}

void TSimulationSession::SetRecording(bool on) {
    if (on == Recording()) return;
    if (!on) {
        simulator_.SetRecorder(nullptr);
        record_.reset();
        return;
    }
    record_ = std::make_unique<TRunRecord>(simulator_, io_, [this] {
        std::vector<IRunObserver*> attached;
        for (const auto& owned : observers_)
            if (owned.Attached) attached.push_back(owned.Observer.get());
        return attached;
    });
    simulator_.SetRecorder(record_.get());
}

std::int64_t TSimulationSession::RecordedSteps() const {
    return record_ ? record_->Steps() : 0;
}

bool TSimulationSession::StepBack() {
    return record_ && record_->StepBack();
}

TStopReason TSimulationSession::RunBack() {
    return record_ ? record_->RunBack() : TStopReason::None;
}

bool TSimulationSession::SetBreakpoint(int line, bool on) {
    int address = simulator_.LineToAddress(line);
    if (address < 0 || address >= simulator_.CodeSize()) return false;
    if (simulator_.IsBreakpoint(address) != on) simulator_.ToggleBreakpoint(line);
    return true;
}

void TSimulationSession::Keep(std::unique_ptr<IRunObserver> observer) {
    simulator_.AttachObserver(*observer);
    observers_.push_back({std::move(observer), true});
}

void TSimulationSession::DetachObservers() {
    for (auto& owned : observers_) {
        if (owned.Attached) simulator_.DetachObserver(*owned.Observer);
        owned.Attached = false;
    }
}

void TSimulationSession::WriteEndState(std::ostream& out, const TRunOutcome& outcome) {
    WriteEndStateJson(out, simulator_, io_, outcome);
}

} // namespace korvo
