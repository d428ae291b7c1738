#include "simulator/io_router.h"

#include "common/mem_map.h"
#include "common/text_file.h"
#include "simulator/picoblaze_debugger.h"

namespace korvo {

TSimulationIO::TSimulationIO(ILog& log) : log_(log) {}

TSimulationIO::~TSimulationIO() {
    Detach();
}

void TSimulationIO::Attach(TPicoBlazeDebugger& simulator) {
    Detach();
    simulator_ = &simulator;
    simulator.OnRead = [this](std::int32_t address, std::uint8_t kind) {
        return Read(address, kind);
    };
    simulator.OnWrite = [this](std::int32_t address, std::int32_t value, std::uint8_t kind) {
        Write(address, value, kind);
    };
}

void TSimulationIO::Detach() {
    if (!simulator_) return;
    simulator_->OnRead = nullptr;
    simulator_->OnWrite = nullptr;
    simulator_ = nullptr;
}

void TSimulationIO::Build(const TPicoBlazeDebugger& simulator) {
    Clear();
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = simulator.GetPortItem(port);
        auto makeInput = [&] {
            inputs_[port] =
                std::make_unique<TInputPortModel>(port, item.InName, item.InFile, item.Visible);
        };
        auto makeOutput = [&](bool outputOnly) {
            return std::make_unique<TOutputPortModel>(port, outputOnly, item.OutName, item.Value,
                                                      LogFileNamed(item.OutFile), item.OutFormat,
                                                      item.Visible);
        };
        switch (item.Kind) {
        case mkInput: makeInput(); break;
        case mkOutput: outputs_[port] = makeOutput(true); break;
        case mkIO: bidirectionals_[port] = makeOutput(false); break;
        case mkInOut:
            makeInput();
            outputs_[port] = makeOutput(true);
            break;
        case mkUART:
            // The declared port (the one with a TCP port) is the status
            // port; the data port is its partner, the port the declaration
            // marked with it (the next one for an even status port).
            if (item.TcpPort >= 0) AddUART(simulator, port, item.TcpPort);
            break;
        default: break;
        }
    }
    std::uint16_t constantPorts = simulator.ConstantPortsUsed();
    for (int port = 0; port < static_cast<int>(constantPorts_.size()); ++port)
        if (constantPorts & (1u << port))
            constantPorts_[port] =
                std::make_unique<TOutputPortModel>(port, true, "OUTK", 0, nullptr, "", true);
    scratchPad_.Setup(simulator.ScratchPadSize());
}

void TSimulationIO::SetUartTiming(std::int32_t baud, std::int64_t clockHz) {
    uartBaud_ = baud;
    clockHz_ = clockHz;
}

void TSimulationIO::AddUART(const TPicoBlazeDebugger& simulator, int statusPort, int tcpPort) {
    int dataPort = statusPort ^ 1;
    auto uart = std::make_unique<TUARTModel>(statusPort, dataPort, tcpPort);
    uart->SetTiming(uartBaud_, clockHz_);
    uart->SetClock([&simulator] { return simulator.InstructionCount(); });
    uartAt_[statusPort] = uart.get();
    if (!uartAt_[dataPort]) uartAt_[dataPort] = uart.get();
    uarts_.push_back(std::move(uart));
}

TUARTModel* TSimulationIO::UARTAt(int port) {
    return port >= 0 && port < kPortCount ? uartAt_[port] : nullptr;
}

void TSimulationIO::SynchronizeUARTs() {
    for (auto& uart : uarts_)
        uart->Synchronize();
}

std::shared_ptr<TPortLogFile> TSimulationIO::LogFileNamed(const std::string& name) {
    if (name.empty()) return nullptr;
    for (const auto& file : logFiles_)
        if (file->Path() == name) return file;
    return logFiles_.emplace_back(std::make_shared<TPortLogFile>(name));
}

void TSimulationIO::WriteLog(TPortLogFile& file, bool onlyWhenNotEmpty) {
    if (onlyWhenNotEmpty && file.PendingLines().empty()) return;
    try {
        file.Flush();
    } catch (const EFileError& error) {
        log_.Failure(error.what());
    }
}

void TSimulationIO::Clear() {
    FlushPendingLogs();
    for (auto& model : inputs_)
        model.reset();
    for (auto& model : outputs_)
        model.reset();
    for (auto& model : bidirectionals_)
        model.reset();
    for (auto& model : constantPorts_)
        model.reset();
    uartAt_.fill(nullptr);
    uarts_.clear();
    logFiles_.clear();
}

void TSimulationIO::Reset() {
    for (const auto& file : logFiles_) {
        WriteLog(*file, false);
        file->Restart();
    }
    auto onFault = [this](const TStimulusFault& fault) { ReportStimulusFault(fault); };
    for (auto& model : inputs_)
        if (model) model->Reset(onFault);
}

void TSimulationIO::ReportStimulusFault(const TStimulusFault& fault) {
    if (fault.Line == 0)
        log_.Failure(fault.Text);
    else if (OnStimulusFault)
        OnStimulusFault(fault);
    else if (OnMessage)
        OnMessage(fault.Text);
}

void TSimulationIO::FlushPendingLogs() {
    for (const auto& file : logFiles_)
        WriteLog(*file, true);
}

std::int32_t TSimulationIO::Read(std::int32_t address, std::uint8_t kind) {
    int port = address & 0xFF;
    try {
        switch (kind) {
        case mkRAM:
        case mkROM: return simulator_ ? simulator_->GetPortItem(port).Value : 0;
        case mkScratchPad: return scratchPad_.Read(address);
        case mkInput:
        case mkInOut:
            return inputs_[port] ? inputs_[port]->Read([this](const TStimulusFault& fault) {
                ReportStimulusFault(fault);
            })
                                 : 0;
        case mkIO: return bidirectionals_[port] ? bidirectionals_[port]->Value() : 0;
        case mkUART: return uartAt_[port] ? uartAt_[port]->Read(port) : 0;
        default: return 0;
        }
    } catch (const EIOError&) {
        throw;
    } catch (const std::exception& error) {
        // Handled like a refused access: logged with the program counter,
        // the core reset, the cycle failed.
        throw EIOError(error.what());
    }
}

void TSimulationIO::Write(std::int32_t address, std::int32_t value, std::uint8_t kind) {
    int port = address & 0xFF;
    switch (kind) {
    case mkScratchPad: scratchPad_.Write(address, value); break;
    case mkOutput:
    case mkInOut:
        if (outputs_[port]) outputs_[port]->SetValue(value, OnMessage);
        break;
    case mkIO:
        if (bidirectionals_[port]) bidirectionals_[port]->SetValue(value, OnMessage);
        break;
    case mkUART:
        if (uartAt_[port]) uartAt_[port]->Write(port, value);
        break;
    case mkConstantPort:
        if (auto& model = constantPorts_[address & 0xF]) model->SetValue(value, OnMessage);
        break;
    default: break;
    }
}

TInputPortModel* TSimulationIO::InputPort(int port) {
    return port >= 0 && port < kPortCount ? inputs_[port].get() : nullptr;
}

TOutputPortModel* TSimulationIO::OutputPort(int port) {
    return port >= 0 && port < kPortCount ? outputs_[port].get() : nullptr;
}

TOutputPortModel* TSimulationIO::BidirectionalPort(int port) {
    return port >= 0 && port < kPortCount ? bidirectionals_[port].get() : nullptr;
}

TOutputPortModel* TSimulationIO::ConstantPort(int port) {
    return port >= 0 && port < static_cast<int>(constantPorts_.size()) ? constantPorts_[port].get()
                                                                       : nullptr;
}

void TSimulationIO::EditMemoryCell(int port, std::int32_t value) {
    if (!simulator_ || port < 0 || port >= kPortCount) return;
    TMemMapItem item = simulator_->GetPortItem(port);
    if (item.Kind != mkRAM && item.Kind != mkROM) return;
    item.Value = static_cast<std::uint8_t>(value & 0xFF);
    simulator_->SetPortItem(port, item);
}

} // namespace korvo
