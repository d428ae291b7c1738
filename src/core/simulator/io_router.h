#pragma once

#include "common/log.h"
#include "common/mem_map.h"
#include "simulator/io_models.h"
#include "simulator/uart_model.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeDebugger;

// The peripherals of one simulation: the port models built from the port
// map, the UARTs and the scratch pad, and the routing of the simulator's
// OnRead and OnWrite events to them. RAM and ROM ports live in the port map
// itself; the simulator serves them.
class TSimulationIO {
public:
    explicit TSimulationIO(ILog& log);
    ~TSimulationIO();
    TSimulationIO(const TSimulationIO&) = delete;
    TSimulationIO& operator=(const TSimulationIO&) = delete;

    // Routes the simulator's OnRead and OnWrite here; Detach clears them.
    void Attach(TPicoBlazeDebugger& simulator);
    void Detach();

    // Line speed and processor clock of the UARTs that Build makes.
    void SetUartTiming(std::int32_t baud, std::int64_t clockHz);
    // Makes the port models from the simulator's port map, a UART for each
    // UART declaration timed by the simulator's instruction count, and
    // empties the scratch pad to the simulator's size (when a program is
    // loaded).
    void Build(const TPicoBlazeDebugger& simulator);
    // Writes the log lists that are not empty and drops every model (when
    // the simulation ends).
    void Clear();
    // Writes every log list to its file, replacing it, empties the lists and
    // reloads the stimulus files (on every reset). A file that cannot be
    // read or written is logged as a "Failure: " line.
    void Reset();
    // Writes the log lists that are not empty (at the end of a run): the
    // first write after a reset replaces the file, later ones add to it.
    void FlushPendingLogs();

    // The routing of OnRead and OnWrite. A model that fails while it serves
    // a read fails the access.
    std::int32_t Read(std::int32_t address, TMemKind kind);
    void Write(std::int32_t address, std::int32_t value, TMemKind kind);

    // The models of a port; null when the port has none.
    TInputPortModel* InputPort(int port);
    TOutputPortModel* OutputPort(int port);
    TOutputPortModel* BidirectionalPort(int port);
    // The model of a constant output port (OUTK, 0 to 15) the program
    // writes; null for one it does not.
    TOutputPortModel* ConstantPort(int port);
    // The UARTs in the order of their status ports.
    const std::vector<std::unique_ptr<TUARTModel>>& UARTs() const { return uarts_; }
    // The UART that owns a port; null when none does.
    TUARTModel* UARTAt(int port);
    // Brings every UART's line up to the present (at the yields and the end
    // of a run).
    void SynchronizeUARTs();
    TScratchPadModel& ScratchPad() { return scratchPad_; }

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
    void WriteLog(TPortLogFile& file, bool onlyWhenNotEmpty);
    void ReportStimulusFault(const TStimulusFault& fault);
    void AddUART(const TPicoBlazeDebugger& simulator, int statusPort, int tcpPort);
    // The log file of that name, shared by every port that names it.
    std::shared_ptr<TPortLogFile> LogFileNamed(const std::string& name);

    ILog& log_;
    TPicoBlazeDebugger* simulator_ = nullptr;
    std::array<std::unique_ptr<TInputPortModel>, 256> inputs_;
    std::array<std::unique_ptr<TOutputPortModel>, 256> outputs_;
    std::array<std::unique_ptr<TOutputPortModel>, 256> bidirectionals_;
    std::array<std::unique_ptr<TOutputPortModel>, 16> constantPorts_;
    std::vector<std::unique_ptr<TUARTModel>> uarts_;
    std::array<TUARTModel*, 256> uartAt_{};
    std::int32_t uartBaud_ = 115200;
    std::int64_t clockHz_ = 80'000'000;
    std::vector<std::shared_ptr<TPortLogFile>> logFiles_;
    TScratchPadModel scratchPad_;
};

} // namespace korvo
