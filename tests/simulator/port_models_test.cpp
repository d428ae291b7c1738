// Port access where handlers and panels take part, and the port models on
// their own. What programs reach through the ports is in
// tests/data/simulator/ports.psm and port_files.psm.
#include "data_files.h"
#include "machine.h"
#include "scratch_folder.h"
#include "simulator/log_format.h"
#include "simulator/uart_model.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

TEST(PortAccess, ObserversSeeEveryAccess) {
    TMachine m(TCoreKind::pbt3);
    m.Assemble({"DSIO 1", "LOAD s0, 9", "OUT s0, 1", "IN s1, 1", "STORE s0, 2", "FETCH s2, 2"});
    struct TAccessLog : IRunObserver {
        std::vector<std::string> Seen;
        void Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) override {
            Seen.push_back(std::string(1, "RWFS"[static_cast<int>(kind)]) +
                           std::to_string(address) + "=" + std::to_string(value));
        }
    } log;
    m.Sim->AttachObserver(log);
    m.Start();
    m.Steps(5);
    EXPECT_EQ(log.Seen, (std::vector<std::string>{"W1=9", "R1=9", "S2=9", "F2=9"}));
}

TEST(PortAccess, AHandlerThatResetsTheCoreAbandonsTheInstruction) {
    TMachine m(TCoreKind::pbt3);
    m.Assemble({"DSIN 1", "LOAD s0, 1", "IN s3, 1"});
    m.Start();
    m.Sim->Step();
    m.Sim->OnRead = [&](std::int32_t, TMemKind) {
        m.Sim->Reset();
        return 0x55;
    };
    m.Sim->Step();
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->PC(), 0); // no next address over the reset
    EXPECT_EQ(m.Sim->Register(3), 0);
    EXPECT_EQ(m.Sim->InstructionCount(), 0);
}

TEST(PortAccess, UnattachedHandlersReadZeroAndIgnoreWrites) {
    auto sim = CreateSimulator(TCoreKind::pbt3);
    TMemMapItem item;
    item.Kind = TMemKind::IO;
    sim->SetPortItem(1, item);
    sim->SetScratchPadSize(16);
    EXPECT_EQ(sim->ReadData(1), 0);
    sim->WriteData(1, 5);
    EXPECT_EQ(sim->ReadData(256 + 15), 0);
    sim->WriteData(256 + 15, 5);
    EXPECT_THROW(sim->ReadData(256 + 16), EIOError);
    EXPECT_THROW(sim->ReadData(2), EIOError);
}

// A frame may change a bidirectional port, never an output port.
TEST(PortModels, UserChangesOnlyOnBidirectionalPorts) {
    TScratchFolder dir;
    TMachine m(TCoreKind::pbt3);
    m.Assemble({"DSOUT 1, \"o.log\"", "DSIO 2, \"b.log\"", "IN s0, 2"}, dir.File("t.psm"));
    m.Start();
    auto* output = m.Session->IO().OutputPort(1);
    auto* both = m.Session->IO().BidirectionalPort(2);
    EXPECT_TRUE(output->OutputOnly());
    EXPECT_FALSE(both->OutputOnly());
    output->ToggleBit(3, nullptr);
    output->EnterValue(7, nullptr);
    EXPECT_EQ(output->Value(), 0);
    EXPECT_TRUE(output->LogLines().empty());
    both->ToggleBit(3, nullptr);
    both->EnterValue(0x1FF, nullptr);
    both->ToggleBit(7, nullptr);
    EXPECT_EQ(both->Value(), 0x7F);
    EXPECT_EQ(both->LogLines(), (std::vector<std::string>{"$08", "$FF", "$7F"}));
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0), 0x7F); // the program reads the frame's value
}

// tests/data/simulator/log_formats.txt: format, value, the line; or format
// and "bad".
TEST(PortModels, LogFormats) {
    for (const auto& row : ReadCaseTable(DataPath("simulator/log_formats.txt"))) {
        const auto& f = row.Fields;
        if (f.size() == 2) {
            EXPECT_THROW(FormatLogLine(f[0], 1), EFormatError) << "line " << row.Line;
        } else {
            EXPECT_EQ(FormatLogLine(f[0], std::stoi(f[1])), f[2]) << "line " << row.Line;
        }
    }
}

TEST(PortModels, UartPortsAndScratchPadPlaces) {
    TUARTModel uart(8, 9);
    EXPECT_EQ(uart.Read(10), 0);
    uart.Write(10, 0x55); // another UART port: ignored
    EXPECT_EQ(uart.TransmitFill(), 0);
    uart.Write(9, 0x1A5);
    EXPECT_EQ(uart.TransmitQueue()[0], 0xA5);
    EXPECT_THROW(uart.Write(8, 1), EIOError);
    for (int i = 0; i < 16; ++i)
        uart.Read(9); // wraps round the queue
    EXPECT_EQ(uart.Status(), 0);

    TScratchPadModel pad;
    pad.Setup(16);
    pad.Write(15, 7);
    pad.Write(16, 9);
    pad.Write(-1, 9);
    EXPECT_EQ(pad.Read(15), 7);
    EXPECT_EQ(pad.Read(16), 0);
    pad.Setup(1000);
    EXPECT_EQ(pad.Size(), 256);
    EXPECT_EQ(pad.Read(15), 0);
}

} // namespace
} // namespace korvo::test
