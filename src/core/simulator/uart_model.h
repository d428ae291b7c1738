#pragma once

#include "simulator/port_device.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace korvo {

// One UART: a status port and a data port, a receive and a transmit queue of
// 16 bytes each, and the host side of its serial line.
//
// The line runs in simulated time: the transmit queue drains one byte per
// byte time (10 bits at the baud rate) and bytes waiting on the host side
// enter the receive queue one per byte time while it has room. Simulated
// time is the instruction count at two clock cycles per instruction. The
// model reads the count from its clock only when it is touched (a port
// access, host input or output, Synchronize), so a UART that the program
// leaves alone costs the run nothing.
//
// On the host side, bytes to receive wait in a buffer of kHostBufferSize
// bytes, and bytes sent wait for the host in another. A full input buffer
// takes nothing more (the source must hold its bytes back); a full output
// buffer holds the line, so that the transmit queue stops draining. Only a
// byte the program writes into a full transmit queue is lost, as on the
// hardware, and counted.
class TUARTModel final : public IPortDevice {
public:
    static constexpr int kQueueSize = 16;
    // Fill level at which a queue counts as full: with indexes taken modulo
    // 16, one place always stays empty.
    static constexpr int kQueueCapacity = kQueueSize - 1;
    static constexpr std::size_t kHostBufferSize = 64 * 1024;

    // Status bits.
    static constexpr std::uint8_t kTransmitHalf = 0x01; // 8 bytes waiting to go
    static constexpr std::uint8_t kTransmitFull = 0x02; // 15 bytes waiting to go
    static constexpr std::uint8_t kReceiveHalf = 0x04;  // 8 bytes received
    static constexpr std::uint8_t kReceiveFull = 0x08;  // 15 bytes received
    static constexpr std::uint8_t kReceiveReady = 0x10; // the receive indexes differ

    // The UART of a declaration: its status and data ports and the TCP port
    // it declares (-1 for none). Both queues start empty.
    TUARTModel(int statusPort, int dataPort, int tcpPort = -1);

    int StatusPort() const { return statusPort_; }
    int DataPort() const { return dataPort_; }
    int TcpPort() const { return tcpPort_; }

    // Line speed and processor clock; 115200 baud at 80 MHz until set.
    void SetTiming(std::int32_t baud, std::int64_t clockHz);
    std::int32_t Baud() const { return baud_; }
    // Where the model reads the simulated time: the instructions completed.
    // A count that goes back (a reset of the core) starts the time anew
    // without moving a byte. Without a clock no time passes.
    void SetClock(std::function<std::int64_t()> instructionsCompleted);
    // Moves the line up to the clock's present.
    void Synchronize() override;

    // --- The program's side ---
    // The data port reads the next received byte (the read index moves on
    // also when nothing was received), the status port the status byte;
    // another port reads 0.
    std::int32_t Read(int port);
    // The data port queues a byte to send, or loses it when the transmit
    // queue is full; throws EIOError on a write to the status port; another
    // port ignores it.
    void Write(int port, std::int32_t value);
    // The status byte of the queues as they stand (no synchronisation).
    std::uint8_t Status() const;

    // --- The host's side ---
    // Free room in the input buffer.
    std::size_t InputRoom() const { return kHostBufferSize - input_.size(); }
    // Bytes waiting to be received.
    std::size_t PendingInput() const { return input_.size(); }
    // Takes as many of bytes as there is room for, in order; returns how many.
    std::size_t Feed(std::string_view bytes);
    // Forgets the bytes waiting to be received (those of a client that
    // left); a byte already on the line still arrives.
    void DropPendingInput();
    // The bytes sent since the last call, in order.
    std::string TakeOutput();
    std::size_t PendingOutput() const { return output_.size(); }

    // Bytes that left the transmit queue, entered the receive queue, and
    // were written into a full transmit queue.
    std::int64_t BytesSent() const { return sent_; }
    std::int64_t BytesReceived() const { return received_; }
    std::int64_t BytesLost() const { return lost_; }

    const std::array<std::uint8_t, kQueueSize>& ReceiveQueue() const { return receive_; }
    const std::array<std::uint8_t, kQueueSize>& TransmitQueue() const { return transmit_; }
    int ReceiveWriteIndex() const { return receiveWrite_; }
    int TransmitReadIndex() const { return transmitRead_; }
    int ReceiveFill() const { return (receiveWrite_ - receiveRead_ + kQueueSize) % kQueueSize; }
    int TransmitFill() const { return (transmitWrite_ - transmitRead_ + kQueueSize) % kQueueSize; }

    std::int32_t PortRead(int port, const TDeviceReports&) override { return Read(port); }
    void PortWrite(int port, std::int32_t value, const TDeviceReports&) override {
        Write(port, value);
    }
    // Its ports and the fill of its queues.
    TDeviceDescription Describe() const override;
    // The queues, the line and the bytes waiting to be received; the bytes
    // sent belong to the host once they left. Bytes the host fed after the
    // state was saved are kept aside by RestoreState and wait to be
    // received again once the replay that follows ends.
    void SaveState(TStateWriter& out) const override;
    void RestoreState(TStateReader& in) override;
    // While a record replays what happened already, the bytes that leave
    // are not sent to the host again.
    void SetReplaying(bool on);

private:
    void Advance(std::int64_t units);
    void AdvanceTransmit(std::int64_t units);
    void AdvanceReceive(std::int64_t units);
    void StartReceiving();

    int statusPort_;
    int dataPort_;
    int tcpPort_;

    std::array<std::uint8_t, kQueueSize> receive_{};
    int receiveWrite_ = 0;
    int receiveRead_ = 0;
    std::array<std::uint8_t, kQueueSize> transmit_{};
    int transmitWrite_ = 0;
    int transmitRead_ = 0;

    // Time is kept in units of 1 / (clock Hz x baud) seconds, so that an
    // instruction (2 clock cycles) and a byte (10 bits) are both whole.
    std::int32_t baud_ = 0;
    std::int64_t unitsPerInstruction_ = 0;
    std::int64_t unitsPerByte_ = 0;
    std::function<std::int64_t()> clock_;
    std::int64_t lastCount_ = 0;
    // Time left until the byte on the line completes, in each direction.
    std::int64_t transmitLeft_ = 0;
    bool receiving_ = false;
    std::int64_t receiveLeft_ = 0;

    std::deque<std::uint8_t> input_;
    std::string output_;
    std::int64_t sent_ = 0;
    std::int64_t received_ = 0;
    std::int64_t lost_ = 0;
    bool replaying_ = false;
    // Bytes fed since the start, and the last of them (at least
    // kHostBufferSize), for a step back over their reception.
    std::int64_t fed_ = 0;
    std::string fedTail_;
    std::string fedLater_;
};

// The factory of the UART kind: the declared port (the one with a TCP port)
// is the status port; the data port is its partner, the port the
// declaration marked with it (the next one for an even status port).
void MakeUart(IDeviceSet& devices, int port, const TMemMapItem& item);

} // namespace korvo
