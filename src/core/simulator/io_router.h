#pragma once

#include "common/log.h"
#include "common/mem_map.h"
#include "simulator/io_models.h"
#include "simulator/port_device.h"
#include "simulator/uart_model.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;
class TStateReader;
class TStateWriter;

// The peripherals of one simulation: the devices built from the port map
// (each kind's factory registers them, device_kinds.h), the constant
// ports and the scratch pad, and the routing of the simulator's OnRead and
// OnWrite events to them. The devices are held by port: one that serves
// the reads of a port and one that serves its writes (the same device for
// a bidirectional port or a UART). RAM and ROM ports live in the port map
// itself; the simulator serves them.
class TSimulationIO final : private IDeviceSet {
public:
    explicit TSimulationIO(ILog& log);
    ~TSimulationIO();
    TSimulationIO(const TSimulationIO&) = delete;
    TSimulationIO& operator=(const TSimulationIO&) = delete;

    // Routes the simulator's OnRead and OnWrite here; Detach clears them.
    void Attach(TPicoBlazeSimulator& simulator);
    void Detach();

    // Line speed and processor clock of the UARTs that Build makes.
    void SetUartTiming(std::int32_t baud, std::int64_t clockHz);
    // Makes the devices of the simulator's port map, timed by its
    // instruction count, and the models of the constant ports it writes, and
    // empties the scratch pad to the simulator's size (when a program is
    // loaded).
    void Build(const TPicoBlazeSimulator& simulator);
    // Writes the log lists that are not empty and drops every device (when
    // the simulation ends).
    void Clear();
    // Writes every log list to its file, replacing it, empties the lists and
    // resets every device (an input port reloads its stimulus file) on every
    // reset. A file that cannot be read or written is logged as a
    // "Failure: " line.
    void Reset();
    // Writes the log lists that are not empty (at the end of a run): the
    // first write after a reset replaces the file, later ones add to it.
    void FlushPendingLogs();

    // The routing of OnRead and OnWrite. A device that fails while it
    // serves a read fails the access.
    std::int32_t Read(std::int32_t address, TMemKind kind);
    void Write(std::int32_t address, std::int32_t value, TMemKind kind);

    // Every device, in the order built (by port).
    const std::vector<std::unique_ptr<IPortDevice>>& Devices() const { return devices_; }
    // The device that serves the reads, or the writes, of a port; null when
    // none does.
    IPortDevice* ReaderAt(int port) const;
    IPortDevice* WriterAt(int port) const;

    // The models of a port; null when the port has none.
    TInputPortModel* InputPort(int port);
    TOutputPortModel* OutputPort(int port);
    TOutputPortModel* BidirectionalPort(int port);
    // The model of a constant output port (OUTK, 0 to 15) the program
    // writes; null for one it does not.
    TOutputPortModel* ConstantPort(int port);
    // The UARTs in the order of their status ports.
    const std::vector<TUARTModel*>& UARTs() const { return uarts_; }
    // The UART that owns a port; null when none does.
    TUARTModel* UARTAt(int port);
    // Brings every device that runs in simulated time (the UARTs) up to
    // the present (at the yields and the end of a run).
    void SynchronizeUARTs();
    TScratchPadModel& ScratchPad() { return scratchPad_; }

    // What stepping back needs of the devices: every device's state, the
    // constant ports, the scratch pad and how many lines each log file had.
    void SaveState(TStateWriter& out) const;
    void RestoreState(TStateReader& in);
    // While a record replays, the UARTs send nothing to the host again.
    void SetReplaying(bool on);

    // A user's edit of a RAM or ROM cell: stored into the port map, so that
    // the program reads what the panel shows.
    void EditMemoryCell(int port, std::int32_t value);

    // Message boxes of the models.
    TMessageHandler OnMessage;
    // A stimulus line that is not a port value; without a handler its text
    // goes to OnMessage. A stimulus file that cannot be read is logged as a
    // "Failure: " line.
    TStimulusFaultHandler OnStimulusFault;

private:
    // IDeviceSet: what the factories register with.
    IPortDevice& Add(std::unique_ptr<IPortDevice> device, std::initializer_list<int> readPorts,
                     std::initializer_list<int> writePorts) override;
    std::shared_ptr<TPortLogFile> LogFileNamed(const std::string& name) override;
    std::int32_t UartBaud() const override { return uartBaud_; }
    std::int64_t ClockHz() const override { return clockHz_; }
    std::function<std::int64_t()> InstructionClock() const override;

    void WriteLog(TPortLogFile& file, bool onlyWhenNotEmpty);
    void ReportStimulusFault(const TStimulusFault& fault);

    ILog& log_;
    TPicoBlazeSimulator* simulator_ = nullptr;
    const TPicoBlazeSimulator* built_ = nullptr;
    std::vector<std::unique_ptr<IPortDevice>> devices_;
    std::array<IPortDevice*, kPortCount> readers_{};
    std::array<IPortDevice*, kPortCount> writers_{};
    std::array<std::unique_ptr<TOutputPortModel>, 16> constantPorts_;
    std::vector<TUARTModel*> uarts_;
    std::int32_t uartBaud_ = 115200;
    std::int64_t clockHz_ = 80'000'000;
    std::vector<std::shared_ptr<TPortLogFile>> logFiles_;
    TScratchPadModel scratchPad_;
    TStimulusFaultHandler stimulusFault_;
    TDeviceReports reports_{OnMessage, stimulusFault_};
    // The handlers put aside while a record replays.
    TMessageHandler messageAside_;
    TStimulusFaultHandler stimulusFaultAside_;
};

} // namespace korvo
