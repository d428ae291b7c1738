#include "simulator/uart_model.h"

#include "common/mem_map.h"
#include "simulator/sim_errors.h"
#include "simulator/state_bytes.h"

#include <algorithm>

namespace korvo {

namespace {
constexpr std::int32_t kStartBaud = 115200;
constexpr std::int64_t kStartClockHz = 80'000'000;
// Both directions settle within 2 x 15 byte times (a full queue drains, an
// empty one fills); a longer stretch of time changes nothing more.
constexpr std::int64_t kSettlingBytes = 2 * TUARTModel::kQueueSize;
} // namespace

TUARTModel::TUARTModel(int statusPort, int dataPort, int tcpPort)
    : statusPort_(statusPort), dataPort_(dataPort), tcpPort_(tcpPort) {
    SetTiming(kStartBaud, kStartClockHz);
}

void TUARTModel::SetTiming(std::int32_t baud, std::int64_t clockHz) {
    Synchronize();
    baud_ = std::max<std::int32_t>(baud, 1);
    unitsPerInstruction_ = 2 * static_cast<std::int64_t>(baud_);
    unitsPerByte_ = 10 * std::max<std::int64_t>(clockHz, 1);
    transmitLeft_ = std::min(transmitLeft_, unitsPerByte_);
    receiveLeft_ = std::min(receiveLeft_, unitsPerByte_);
}

void TUARTModel::SetClock(std::function<std::int64_t()> instructionsCompleted) {
    clock_ = std::move(instructionsCompleted);
    lastCount_ = clock_ ? clock_() : 0;
}

void TUARTModel::Synchronize() {
    if (!clock_) return;
    std::int64_t now = clock_();
    std::int64_t elapsed = now - lastCount_;
    lastCount_ = now;
    if (elapsed <= 0) return; // no time, or a reset: the time starts anew
    __int128 units = static_cast<__int128>(elapsed) * unitsPerInstruction_;
    Advance(static_cast<std::int64_t>(
        std::min<__int128>(units, static_cast<__int128>(unitsPerByte_) * kSettlingBytes)));
}

void TUARTModel::Advance(std::int64_t units) {
    AdvanceTransmit(units);
    AdvanceReceive(units);
}

void TUARTModel::AdvanceTransmit(std::int64_t units) {
    while (TransmitFill() > 0) {
        if (units < transmitLeft_) {
            transmitLeft_ -= units;
            return;
        }
        units -= transmitLeft_;
        transmitLeft_ = 0;
        if (!replaying_) {
            // The host has not taken what came before: the line waits for it.
            if (output_.size() >= kHostBufferSize) return;
            output_.push_back(static_cast<char>(transmit_[transmitRead_]));
        }
        transmitRead_ = (transmitRead_ + 1) % kQueueSize;
        ++sent_;
        transmitLeft_ = unitsPerByte_;
    }
}

void TUARTModel::StartReceiving() {
    if (receiving_ || input_.empty() || ReceiveFill() >= kQueueCapacity) return;
    receiving_ = true;
    receiveLeft_ = unitsPerByte_;
}

void TUARTModel::AdvanceReceive(std::int64_t units) {
    StartReceiving();
    while (receiving_) {
        if (units < receiveLeft_) {
            receiveLeft_ -= units;
            return;
        }
        units -= receiveLeft_;
        receiveLeft_ = 0;
        // Reads of an empty queue can leave it looking full: the byte then
        // waits on the line until the program makes room.
        if (ReceiveFill() >= kQueueCapacity) return;
        receive_[receiveWrite_] = input_.front();
        input_.pop_front();
        receiveWrite_ = (receiveWrite_ + 1) % kQueueSize;
        ++received_;
        receiving_ = false;
        StartReceiving();
    }
}

std::int32_t TUARTModel::Read(int port) {
    Synchronize();
    if (port == dataPort_) {
        std::int32_t value = receive_[receiveRead_];
        receiveRead_ = (receiveRead_ + 1) % kQueueSize;
        AdvanceReceive(0);
        return value;
    }
    if (port == statusPort_) return Status();
    return 0;
}

void TUARTModel::Write(int port, std::int32_t value) {
    if (port == statusPort_) throw EIOError("Write to UART status port");
    if (port != dataPort_) return;
    Synchronize();
    if (TransmitFill() >= kQueueCapacity) {
        ++lost_;
        return;
    }
    if (TransmitFill() == 0) transmitLeft_ = unitsPerByte_;
    transmit_[transmitWrite_] = static_cast<std::uint8_t>(value & 0xFF);
    transmitWrite_ = (transmitWrite_ + 1) % kQueueSize;
}

std::uint8_t TUARTModel::Status() const {
    int received = ReceiveFill();
    int waiting = TransmitFill();
    std::uint8_t status = 0;
    if (receiveWrite_ != receiveRead_) status |= kReceiveReady;
    if (received == 15) status |= kReceiveFull;
    if (received == 8) status |= kReceiveHalf;
    if (waiting == 15) status |= kTransmitFull;
    if (waiting == 8) status |= kTransmitHalf;
    return status;
}

std::size_t TUARTModel::Feed(std::string_view bytes) {
    Synchronize();
    std::size_t taken = std::min(bytes.size(), InputRoom());
    input_.insert(input_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(taken));
    fed_ += static_cast<std::int64_t>(taken);
    fedTail_.append(bytes.substr(0, taken));
    if (fedTail_.size() > 2 * kHostBufferSize) fedTail_.erase(0, fedTail_.size() - kHostBufferSize);
    AdvanceReceive(0);
    return taken;
}

void TUARTModel::DropPendingInput() {
    // While receiving, the byte on the line is the first one waiting.
    std::size_t kept = receiving_ && !input_.empty() ? 1 : 0;
    std::size_t dropped = input_.size() - kept;
    input_.erase(input_.begin() + static_cast<std::ptrdiff_t>(kept), input_.end());
    fed_ -= static_cast<std::int64_t>(dropped);
    fedTail_.resize(fedTail_.size() - std::min(dropped, fedTail_.size()));
}

std::string TUARTModel::TakeOutput() {
    Synchronize();
    std::string taken;
    taken.swap(output_);
    // A byte that waited for room leaves now.
    AdvanceTransmit(0);
    return taken;
}

TDeviceDescription TUARTModel::Describe() const {
    return {{},
            {statusPort_, dataPort_},
            {{"status_port", statusPort_},
             {"data_port", dataPort_},
             {"rx_count", ReceiveFill()},
             {"tx_count", TransmitFill()}}};
}

void MakeUart(IDeviceSet& devices, int port, const TMemMapItem& item) {
    if (item.TcpPort < 0) return;
    int dataPort = port ^ 1;
    auto uart = std::make_unique<TUARTModel>(port, dataPort, item.TcpPort);
    uart->SetTiming(devices.UartBaud(), devices.ClockHz());
    uart->SetClock(devices.InstructionClock());
    devices.Add(std::move(uart), {port, dataPort}, {port, dataPort});
}

void TUARTModel::SaveState(TStateWriter& out) const {
    out.Put(receive_);
    out.Put(receiveWrite_);
    out.Put(receiveRead_);
    out.Put(transmit_);
    out.Put(transmitWrite_);
    out.Put(transmitRead_);
    out.Put(lastCount_);
    out.Put(transmitLeft_);
    out.Put(receiving_);
    out.Put(receiveLeft_);
    out.Put(sent_);
    out.Put(received_);
    out.Put(lost_);
    out.PutText(std::string(input_.begin(), input_.end()));
    out.Put(fed_);
}

void TUARTModel::RestoreState(TStateReader& in) {
    in.Get(receive_);
    in.Get(receiveWrite_);
    in.Get(receiveRead_);
    in.Get(transmit_);
    in.Get(transmitWrite_);
    in.Get(transmitRead_);
    in.Get(lastCount_);
    in.Get(transmitLeft_);
    in.Get(receiving_);
    in.Get(receiveLeft_);
    in.Get(sent_);
    in.Get(received_);
    in.Get(lost_);
    std::string waiting = in.GetText();
    input_.assign(waiting.begin(), waiting.end());
    std::int64_t fedThen = 0;
    in.Get(fedThen);
    auto later = static_cast<std::size_t>(std::max<std::int64_t>(fed_ - fedThen, 0));
    fedLater_ = fedTail_.substr(fedTail_.size() - std::min(later, fedTail_.size()));
}

void TUARTModel::SetReplaying(bool on) {
    replaying_ = on;
    if (on) return;
    input_.insert(input_.end(), fedLater_.begin(), fedLater_.end());
    fedLater_.clear();
}

} // namespace korvo
