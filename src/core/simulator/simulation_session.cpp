#include "simulator/simulation_session.h"

#include "simulator/debugger.h"
#include "simulator/status_strings.h"

namespace korvo {

int ScratchPadSizeFromSetting(const ISettingsStore& settings) {
    static constexpr int kSizes[] = {0, 16, 32, 64, 128, 256};
    int index = ReadIntegerOr(settings, "ScratchPad", "Size", 3);
    return index >= 0 && index < 6 ? kSizes[index] : 64;
}

TSimulationSession::TSimulationSession(TPicoBlazeDebugger& simulator, ILog& log,
                                       const ISettingsStore* settings)
    : simulator_(simulator), log_(log), settings_(settings), io_(log),
      frequencyMHz_(kDefaultFrequencyMHz) {
    io_.Attach(simulator_);
    simulator_.SetLog(&log_);
    simulator_.OnStateChange = [this](TDebugger&) { HandleStateChange(); };
}

TSimulationSession::~TSimulationSession() {
    simulator_.OnStateChange = nullptr;
    simulator_.SetLog(nullptr);
    io_.Detach();
}

void TSimulationSession::HandleStateChange() {
    TSimulatorState state = simulator_.RequestedState();
    switch (state) {
    case ssIdle: io_.Clear(); break;
    case ssLoaded:
        if (simulator_.UsesScratchPad()) {
            int size = scratchPadOverride_ ? *scratchPadOverride_
                       : settings_         ? ScratchPadSizeFromSetting(*settings_)
                                           : 64;
            simulator_.SetScratchPadSize(size);
        }
        io_.Build(simulator_);
        frequencyMHz_ = frequencyOverride_ ? *frequencyOverride_
                        : settings_        ? ReadClockFrequency(*settings_)
                                           : kDefaultFrequencyMHz;
        break;
    case ssReset:
        log_.AddLogLine("!Program is Reset");
        io_.Reset();
        break;
    case ssRunning: log_.AddLogLine("!Program is Started"); break;
    case ssPaused: log_.AddLogLine("!Program is Paused"); break;
    case ssHalted: log_.AddLogLine(SimulatorErrorMessage(simulator_.ErrorCode())); break;
    }
    if (OnStateEntered) OnStateEntered(state);
}

} // namespace korvo
