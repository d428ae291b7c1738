#pragma once

#include "common/log.h"
#include "simulator/io_models.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeDebugger;

// The peripherals of one simulation: the port models built from the port
// map, the UART and the scratch pad, and the routing of the simulator's
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

    // Makes the port models from the simulator's port map and empties the
    // scratch pad to the simulator's size (when a program is loaded).
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

    // The routing of OnRead and OnWrite. An input model that fails while it
    // serves a read (a stimulus file that cannot be read) fails the access.
    std::int32_t Read(std::int32_t address, std::uint8_t kind);
    void Write(std::int32_t address, std::int32_t value, std::uint8_t kind);

    // The models of a port; null when the port has none.
    TInputPortModel* InputPort(int port);
    TOutputPortModel* OutputPort(int port);
    TOutputPortModel* BidirectionalPort(int port);
    TUARTModel& UART() { return uart_; }
    TScratchPadModel& ScratchPad() { return scratchPad_; }

    // A user's edit of a RAM or ROM cell: stored into the port map, so that
    // the program reads what the panel shows.
    void EditMemoryCell(int port, std::int32_t value);

    // Message boxes of the models.
    TMessageHandler OnMessage;
    // A RAM port was written by the program (the RAM panel shows it).
    std::function<void(int port, std::int32_t value)> OnMemoryCellWrite;

private:
    void WriteLog(TPortLogFile& file, bool onlyWhenNotEmpty);
    // The log file of that name, shared by every port that names it.
    std::shared_ptr<TPortLogFile> LogFileNamed(const std::string& name);

    ILog& log_;
    TPicoBlazeDebugger* simulator_ = nullptr;
    std::array<std::unique_ptr<TInputPortModel>, 256> inputs_;
    std::array<std::unique_ptr<TOutputPortModel>, 256> outputs_;
    std::array<std::unique_ptr<TOutputPortModel>, 256> bidirectionals_;
    std::vector<std::shared_ptr<TPortLogFile>> logFiles_;
    TUARTModel uart_;
    TScratchPadModel scratchPad_;
};

} // namespace korvo
