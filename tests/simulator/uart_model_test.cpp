// The UART's line in simulated time, driven by a fake instruction clock:
// status bits as bytes go and come, throughput at several line speeds, the
// bounded host buffers and what a reset of the count does.
#include "machine.h"

#include "simulator/uart_model.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// A UART on ports 4 (status) and 5 (data) whose clock is a number the test
// sets. 10 kHz and 500 baud make a byte time of 100 instructions
// (10 bits / 500 baud = 20 ms = 200 clock cycles).
struct TTimedUart {
    explicit TTimedUart(std::int32_t baud = 500, std::int64_t clockHz = 10'000) : Uart(4, 5) {
        Uart.SetTiming(baud, clockHz);
        Uart.SetClock([this] { return Now; });
    }
    std::uint8_t StatusAt(std::int64_t time) {
        Now = time;
        return static_cast<std::uint8_t>(Uart.Read(4));
    }
    std::int64_t Now = 0;
    TUARTModel Uart;
};

struct TStep {
    std::int64_t At; // instruction count
    char Action;     // 'W' write, 'R' read, 'r' read and ignore, 'F' feed Count bytes; '-' none
    int Count;
    std::uint8_t Status;  // after the action
    const char* Output;   // everything sent so far
    const char* Received; // everything read so far
};

TEST(UARTLine, StatusBitsFollowTheQueuesOverTime) {
    const std::vector<TStep> steps = {
        // Sending: one byte leaves every 100 instructions after it was written.
        {0, 'W', 8, 0x01, "", ""},
        {99, '-', 0, 0x01, "", ""},
        {100, '-', 0, 0x00, "a", ""},
        {450, '-', 0, 0x00, "abcd", ""},
        {450, 'W', 11, 0x02, "abcd", ""},
        {450, 'W', 1, 0x02, "abcd", ""}, // into a full queue: lost
        {1950, '-', 0, 0x00, "abcdefghijklmnopqrs", ""},
        // Receiving: 18 bytes wait; one enters every 100 instructions while
        // there is room for it.
        {2000, 'F', 18, 0x00, "abcdefghijklmnopqrs", ""},
        {2100, '-', 0, 0x10, "abcdefghijklmnopqrs", ""},
        {2800, '-', 0, 0x14, "abcdefghijklmnopqrs", ""},
        {3500, '-', 0, 0x18, "abcdefghijklmnopqrs", ""},
        {9000, '-', 0, 0x18, "abcdefghijklmnopqrs", ""},
        {9000, 'R', 1, 0x10, "abcdefghijklmnopqrs", "A"},
        {9100, '-', 0, 0x18, "abcdefghijklmnopqrs", "A"},
        {9100, 'R', 15, 0x00, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOP"},
        {9250, 'R', 1, 0x00, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQ"},
        {9300, 'R', 1, 0x00, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQR"},
        // A read with nothing received leaves the queue looking full; a byte
        // that arrives meanwhile waits until there is room.
        {9300, 'r', 1, 0x18, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQR?"},
        {9300, 'F', 1, 0x18, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQR?"},
        {9300, 'r', 1, 0x10, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQR??"},
        {9400, 'W', 1, 0x18, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQR??"},
        // The count goes back (a reset of the core): no time has passed.
        {5000, '-', 0, 0x18, "abcdefghijklmnopqrs", "ABCDEFGHIJKLMNOPQR??"},
        {5100, '-', 0, 0x18, "abcdefghijklmnopqrsu", "ABCDEFGHIJKLMNOPQR??"},
    };
    TTimedUart line;
    std::string output, received;
    char nextSent = 'a', nextFed = 'A';
    for (const auto& step : steps) {
        SCOPED_TRACE(::testing::Message() << step.At << " " << step.Action << step.Count);
        line.Now = step.At;
        for (int i = 0; i < step.Count; ++i) {
            if (step.Action == 'W') line.Uart.Write(5, nextSent++);
            if (step.Action == 'F') {
                EXPECT_EQ(line.Uart.Feed(std::string(1, nextFed++)), 1u);
            }
            if (step.Action == 'R') received += static_cast<char>(line.Uart.Read(5));
            if (step.Action == 'r') { // what it reads is of no interest
                line.Uart.Read(5);
                received += '?';
            }
        }
        EXPECT_EQ(line.StatusAt(step.At), step.Status);
        output += line.Uart.TakeOutput();
        EXPECT_EQ(output, step.Output);
        EXPECT_EQ(received, step.Received);
    }
    EXPECT_EQ(line.Uart.BytesSent(), 20);
    EXPECT_EQ(line.Uart.BytesLost(), 1);
    EXPECT_EQ(line.Uart.BytesReceived(), 19);
}

TEST(UARTLine, CarriesTenthOfTheBaudRateBytesPerSecond) {
    struct TCase {
        std::int32_t Baud;
        std::int32_t ClockMHz;
        int Step; // instructions between two looks of the program
    };
    const TCase cases[] = {{9600, 80, 400},
                           {115200, 80, 400},
                           {115200, 3, 20},
                           {1'000'000, 80, 100},
                           {10'000'000, 80, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Baud);
        // Bytes go both ways for one simulated second; the program keeps the
        // transmit queue full and empties the receive queue.
        TTimedUart line(c.Baud, c.ClockMHz * 1'000'000LL);
        std::int64_t second = c.ClockMHz * 1'000'000LL / 2;
        const std::string block(4096, 'x');
        std::int64_t sent = 0;
        for (line.Now = 0; line.Now <= second; line.Now += c.Step) {
            if (line.Uart.PendingInput() < 1024) line.Uart.Feed(block);
            while (line.Uart.TransmitFill() < TUARTModel::kQueueCapacity)
                line.Uart.Write(5, 'y');
            while (line.Uart.Read(4) & TUARTModel::kReceiveReady)
                line.Uart.Read(5);
            sent += static_cast<std::int64_t>(line.Uart.TakeOutput().size());
        }
        EXPECT_EQ(sent, c.Baud / 10);
        EXPECT_EQ(line.Uart.BytesReceived(), c.Baud / 10);
        EXPECT_EQ(line.Uart.BytesLost(), 0);
    }
}

TEST(UARTLine, HostBuffersAreBoundedAndDropNothing) {
    TTimedUart line;
    // Input: what does not fit is refused, not dropped.
    std::string big(TUARTModel::kHostBufferSize + 100, 'i');
    EXPECT_EQ(line.Uart.Feed(big), TUARTModel::kHostBufferSize);
    EXPECT_EQ(line.Uart.Feed("more"), 0u);
    EXPECT_EQ(line.Uart.InputRoom(), 0u);
    // Output: a host that takes nothing holds the line; the program then
    // finds the transmit queue full and loses what it writes into it.
    std::int64_t written = 0;
    for (line.Now = 0; line.Now < 100 * 70'000; line.Now += 50) {
        if (line.Uart.Read(4) & TUARTModel::kTransmitFull) continue;
        line.Uart.Write(5, static_cast<std::int32_t>(written++ & 0xFF));
    }
    EXPECT_EQ(line.Uart.PendingOutput(), TUARTModel::kHostBufferSize);
    EXPECT_EQ(line.Uart.TransmitFill(), TUARTModel::kQueueCapacity);
    std::string expected;
    for (std::size_t i = 0; i < TUARTModel::kHostBufferSize; ++i)
        expected += static_cast<char>(i & 0xFF);
    EXPECT_TRUE(line.Uart.TakeOutput() == expected);
    // Room again: the byte that waited leaves at once, the rest one by one.
    EXPECT_EQ(line.Uart.PendingOutput(), 1u);
    line.Now += 100 * 14;
    EXPECT_EQ(line.Uart.TakeOutput().size(), 15u);
    EXPECT_EQ(line.Uart.BytesSent() + line.Uart.TransmitFill(), written);
}

TEST(UARTLine, EachDeclarationHasItsOwnUart) {
    TMachine m(TCoreKind::pbt3);
    m.Assemble({"UART $04, 6004", "UART $20, 6032", "LOAD s0, 'p'", "OUT s0, $05", "LOAD s0, 'q'",
                "OUT s0, $21", "OUT s0, $21"});
    m.Start();
    m.Steps(5);
    const auto& uarts = m.Session->IO().UARTs();
    ASSERT_EQ(uarts.size(), 2u);
    EXPECT_EQ(uarts[0]->TcpPort(), 6004);
    EXPECT_EQ(uarts[0]->TransmitFill(), 1);
    EXPECT_EQ(uarts[0]->TransmitQueue()[0], 'p');
    EXPECT_EQ(uarts[1]->TcpPort(), 6032);
    EXPECT_EQ(uarts[1]->TransmitFill(), 2);
    EXPECT_EQ(uarts[1]->TransmitQueue()[1], 'q');
}

} // namespace
} // namespace korvo::test
