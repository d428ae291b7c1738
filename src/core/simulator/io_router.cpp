#include "simulator/io_router.h"

#include "common/text_file.h"
#include "simulator/device_kinds.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/state_bytes.h"

#include <utility>

namespace korvo {

TSimulationIO::TSimulationIO(ILog& log)
    : log_(log),
      stimulusFault_([this](const TStimulusFault& fault) { ReportStimulusFault(fault); }) {}

TSimulationIO::~TSimulationIO() {
    Detach();
}

void TSimulationIO::Attach(TPicoBlazeSimulator& simulator) {
    Detach();
    simulator_ = &simulator;
    simulator.OnRead = [this](std::int32_t address, TMemKind kind) { return Read(address, kind); };
    simulator.OnWrite = [this](std::int32_t address, std::int32_t value, TMemKind kind) {
        Write(address, value, kind);
    };
}

void TSimulationIO::Detach() {
    if (!simulator_) return;
    simulator_->OnRead = nullptr;
    simulator_->OnWrite = nullptr;
    simulator_ = nullptr;
}

void TSimulationIO::Build(const TPicoBlazeSimulator& simulator) {
    Clear();
    built_ = &simulator;
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = simulator.GetPortItem(port);
        if (TDeviceFactory make = DeviceKindOf(item.Kind).Factory) make(*this, port, item);
    }
    for (const auto& device : devices_)
        if (auto* uart = dynamic_cast<TUARTModel*>(device.get())) uarts_.push_back(uart);
    std::uint16_t constantPorts = simulator.ConstantPortsUsed();
    for (int port = 0; port < static_cast<int>(constantPorts_.size()); ++port)
        if (constantPorts & (1u << port))
            constantPorts_[port] =
                std::make_unique<TOutputPortModel>(port, true, "OUTK", 0, nullptr, "", true);
    scratchPad_.Setup(simulator.ScratchPadSize());
}

IPortDevice& TSimulationIO::Add(std::unique_ptr<IPortDevice> device,
                                std::initializer_list<int> readPorts,
                                std::initializer_list<int> writePorts) {
    IPortDevice& added = *devices_.emplace_back(std::move(device));
    for (int port : readPorts)
        if (!readers_[port & 0xFF]) readers_[port & 0xFF] = &added;
    for (int port : writePorts)
        if (!writers_[port & 0xFF]) writers_[port & 0xFF] = &added;
    return added;
}

std::function<std::int64_t()> TSimulationIO::InstructionClock() const {
    const TPicoBlazeSimulator* simulator = built_;
    return [simulator] { return simulator->InstructionCount(); };
}

void TSimulationIO::SetUartTiming(std::int32_t baud, std::int64_t clockHz) {
    uartBaud_ = baud;
    clockHz_ = clockHz;
}

IPortDevice* TSimulationIO::ReaderAt(int port) const {
    return port >= 0 && port < kPortCount ? readers_[port] : nullptr;
}

IPortDevice* TSimulationIO::WriterAt(int port) const {
    return port >= 0 && port < kPortCount ? writers_[port] : nullptr;
}

TUARTModel* TSimulationIO::UARTAt(int port) {
    return dynamic_cast<TUARTModel*>(ReaderAt(port));
}

void TSimulationIO::SynchronizeUARTs() {
    for (const auto& device : devices_)
        device->Synchronize();
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
    readers_.fill(nullptr);
    writers_.fill(nullptr);
    uarts_.clear();
    devices_.clear();
    for (auto& model : constantPorts_)
        model.reset();
    logFiles_.clear();
}

void TSimulationIO::Reset() {
    for (const auto& file : logFiles_) {
        WriteLog(*file, false);
        file->Restart();
    }
    for (const auto& device : devices_)
        device->Reset(reports_);
}

void TSimulationIO::SaveState(TStateWriter& out) const {
    for (const auto& device : devices_)
        device->SaveState(out);
    for (const auto& model : constantPorts_)
        if (model) model->SaveState(out);
    scratchPad_.SaveState(out);
    for (const auto& file : logFiles_)
        out.Put(file->LinesAdded());
}

void TSimulationIO::RestoreState(TStateReader& in) {
    for (const auto& device : devices_)
        device->RestoreState(in);
    for (const auto& model : constantPorts_)
        if (model) model->RestoreState(in);
    scratchPad_.RestoreState(in);
    for (const auto& file : logFiles_) {
        std::int64_t lines = 0;
        in.Get(lines);
        file->BackTo(lines);
    }
}

void TSimulationIO::SetReplaying(bool on) {
    for (TUARTModel* uart : uarts_)
        uart->SetReplaying(on);
    // The messages of the devices came when the cycles first ran.
    if (on) {
        messageAside_ = std::exchange(OnMessage, nullptr);
        stimulusFaultAside_ = std::exchange(stimulusFault_, nullptr);
    } else {
        OnMessage = std::exchange(messageAside_, nullptr);
        stimulusFault_ = std::exchange(stimulusFaultAside_, nullptr);
    }
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

std::int32_t TSimulationIO::Read(std::int32_t address, TMemKind kind) {
    int port = address & 0xFF;
    if (kind == TMemKind::ScratchPad) return scratchPad_.Read(address);
    if (kind == TMemKind::RAM || kind == TMemKind::ROM)
        return simulator_ ? simulator_->GetPortItem(port).Value : 0;
    IPortDevice* device = readers_[port];
    if (!device) return 0;
    try {
        return device->PortRead(port, reports_);
    } catch (const EIOError&) {
        throw;
    } catch (const std::exception& error) {
        // Handled like a refused access: logged with the program counter,
        // the core reset, the cycle failed.
        throw EIOError(error.what());
    }
}

void TSimulationIO::Write(std::int32_t address, std::int32_t value, TMemKind kind) {
    if (kind == TMemKind::ScratchPad) {
        scratchPad_.Write(address, value);
    } else if (kind == TMemKind::ConstantPort) {
        if (auto& model = constantPorts_[address & 0xF]) model->SetValue(value, OnMessage);
    } else if (IPortDevice* device = writers_[address & 0xFF]) {
        device->PortWrite(address & 0xFF, value, reports_);
    }
}

TInputPortModel* TSimulationIO::InputPort(int port) {
    return dynamic_cast<TInputPortModel*>(ReaderAt(port));
}

TOutputPortModel* TSimulationIO::OutputPort(int port) {
    auto* model = dynamic_cast<TOutputPortModel*>(WriterAt(port));
    return model && model->OutputOnly() ? model : nullptr;
}

TOutputPortModel* TSimulationIO::BidirectionalPort(int port) {
    auto* model = dynamic_cast<TOutputPortModel*>(WriterAt(port));
    return model && !model->OutputOnly() ? model : nullptr;
}

TOutputPortModel* TSimulationIO::ConstantPort(int port) {
    return port >= 0 && port < static_cast<int>(constantPorts_.size()) ? constantPorts_[port].get()
                                                                       : nullptr;
}

void TSimulationIO::EditMemoryCell(int port, std::int32_t value) {
    if (!simulator_ || port < 0 || port >= kPortCount) return;
    TMemMapItem item = simulator_->GetPortItem(port);
    if (item.Kind != TMemKind::RAM && item.Kind != TMemKind::ROM) return;
    item.Value = static_cast<std::uint8_t>(value & 0xFF);
    simulator_->SetPortItem(port, item);
}

} // namespace korvo
