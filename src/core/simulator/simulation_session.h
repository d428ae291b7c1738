#pragma once

#include "common/log.h"
#include "common/settings.h"
#include "simulator/debugger_base.h"
#include "simulator/io_router.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace korvo {

class TPicoBlazeDebugger;

// What every front end does around a simulator: logs its state changes,
// builds the peripherals when a program is loaded and resets them with the
// core, routes the port events, and reads the clock frequency and the
// scratch pad size from the settings. The IDE adds its panels through
// OnStateEntered; the command-line tool uses it as it is.
//
// Attaches OnStateChange, OnRead and OnWrite of the simulator and clears
// them again when destroyed; the simulator must outlive the session.
class TSimulationSession {
public:
    TSimulationSession(TPicoBlazeDebugger& simulator, ILog& log, const ISettingsStore* settings);
    ~TSimulationSession();
    TSimulationSession(const TSimulationSession&) = delete;
    TSimulationSession& operator=(const TSimulationSession&) = delete;

    TPicoBlazeDebugger& Simulator() { return simulator_; }
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

    // Called after the session has handled a state change, with the state
    // being entered.
    std::function<void(TSimulatorState state)> OnStateEntered;

private:
    void HandleStateChange();

    TPicoBlazeDebugger& simulator_;
    ILog& log_;
    const ISettingsStore* settings_;
    TSimulationIO io_;
    std::int32_t frequencyMHz_;
    std::int32_t uartBaud_;
    bool uartTcpBridge_ = true;
    std::optional<int> scratchPadOverride_;
    std::optional<std::int32_t> uartBaudOverride_;
    std::optional<std::int32_t> frequencyOverride_;
};

} // namespace korvo
