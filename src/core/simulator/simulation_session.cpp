#include "simulator/simulation_session.h"

#include "common/settings_layout.h"
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
      frequencyMHz_(kDefaultFrequencyMHz), uartBaud_(settings::kDefaultUartBaud) {
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
        frequencyMHz_ = frequencyOverride_ ? *frequencyOverride_
                        : settings_        ? ReadClockFrequency(*settings_)
                                           : kDefaultFrequencyMHz;
        uartBaud_ = uartBaudOverride_ ? *uartBaudOverride_
                    : settings_       ? settings::LoadUartBaud(*settings_)
                                      : settings::kDefaultUartBaud;
        uartTcpBridge_ = !settings_ || settings::LoadUartTcpBridge(*settings_);
        io_.SetUartTiming(uartBaud_, static_cast<std::int64_t>(frequencyMHz_) * 1'000'000);
        io_.Build(simulator_);
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
