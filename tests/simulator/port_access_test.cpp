// What IN, OUT, FETCH and STORE reach, and how a refused access ends the
// cycle: logged with the program counter, the core reset, the run halted.
#include "sim_test_support.h"

#include "common/text_file.h"
#include "output/bram.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

const std::string kIOHalt = "?IO error: IN, OUT, FETCH or STORE outside IO or ScratchPad.";

std::shared_ptr<TBRAM> MakeBlockRAM(int size, const std::vector<std::uint8_t>& bytes) {
    auto memory = std::make_shared<TBRAM>();
    memory->SetSize(size);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        memory->SetAddress(static_cast<int>(i));
        memory->Write(bytes[i]);
    }
    memory->SetAddress(0);
    return memory;
}

struct TRefusalCase {
    const char* Name;
    TCoreKind Core;
    TPortOp Op;
    int Port;
    TMemKind Kind; // of the port; mkNone for none
    int ScratchPadSize;
    std::string Message;
};

const TRefusalCase kRefusals[] = {
    {"IN from an unmapped port", TCoreKind::pbt3, TPortOp::In, 0x0A, mkNone, 0,
     "Attempt to read from non-mapped input at: $00A"},
    {"IN from an output port", TCoreKind::pbtI, TPortOp::In, 0xC4, mkOutput, 0,
     "Attempt to read from non-mapped input at: $0C4"},
    {"OUT to a ROM port", TCoreKind::pbtII, TPortOp::Out, 0x20, mkROM, 0,
     "Attempt to write to ROM at: $020"},
    {"OUT to an input port", TCoreKind::pbtC, TPortOp::Out, 0x07, mkInput, 0,
     "Attempt to write to non-mapped output at: $007"},
    {"OUT to an unmapped port", TCoreKind::pbt3, TPortOp::Out, 0xFF, mkNone, 0,
     "Attempt to write to non-mapped output at: $0FF"},
    {"STORE past the scratch pad", TCoreKind::pbt3, TPortOp::Store, 0x40, mkNone, 64,
     "Attempt to write to Scratch Pad at: $040"},
    {"FETCH past the scratch pad", TCoreKind::pbt3, TPortOp::Fetch, 0x40, mkNone, 64,
     "Attempt to read from Scratch Pad at: $040"},
    {"FETCH without a scratch pad", TCoreKind::pbt3, TPortOp::Fetch, 0x00, mkNone, 0,
     "Attempt to read from Scratch Pad at: $000"},
    {"IN from a block RAM port without memory", TCoreKind::pbt3, TPortOp::In, 0x30, mkBlockRAM, 0,
     "Error in BRAM construction"},
    {"OUT to a block RAM port without memory", TCoreKind::pbt3, TPortOp::Out, 0x31, mkBlockRAM, 0,
     "Error in BRAM construction"},
};

TEST(PortAccess, RefusedAccessLogsResetsAndHalts) {
    for (const auto& c : kRefusals) {
        SCOPED_TRACE(c.Name);
        TMachine m(c.Core);
        m.Map(c.Port, c.Kind);
        if (c.Kind == mkROM) m.Map(c.Port, c.Kind, 0x11);
        m.Sim->SetUsesScratchPad(true);
        m.Session->SetScratchPadSizeOverride(c.ScratchPadSize);
        m.Load({m.Encode.Alu(TAlu::Load, 1, 0x33), m.Encode.Port(c.Op, 1, c.Port)});
        m.Start();
        m.Steps(2);
        EXPECT_EQ(m.Sim->State(), ssHalted);
        EXPECT_EQ(m.Sim->ErrorCode(), seIO);
        EXPECT_EQ(m.Log.Lines, (std::vector<std::string>{c.Message + "; Program Counter: $01",
                                                         "!Program is Reset", kIOHalt}));
        EXPECT_EQ(m.Sim->PC(), 0);
        EXPECT_EQ(m.Sim->Register(1), 0); // cleared by the reset, never loaded
        EXPECT_EQ(m.Sim->InstructionCount(), 0);
    }
}

TEST(PortAccess, ProgramCounterOfARefusalHasAtLeastTwoDigits) {
    TMachine m(TCoreKind::pbt3);
    m.Load({m.Encode.Jump(0x1A5)});
    m.Load({m.Encode.Port(TPortOp::In, 0, 3)}, 0x1A5);
    m.Start();
    m.Steps(2);
    EXPECT_EQ(m.Log.Lines.front(),
              "Attempt to read from non-mapped input at: $003; Program Counter: $1A5");
}

TEST(PortAccess, RomAndRamPorts) {
    TMachine m(TCoreKind::pbt3);
    m.Map(0x20, mkROM, 0x5A);
    m.Map(0x30, mkRAM, 0x01);
    std::vector<std::pair<int, int>> shown;
    m.Session->IO().OnMemoryCellWrite = [&](int port, std::int32_t value) {
        shown.emplace_back(port, value);
    };
    const TEncoder& e = m.Encode;
    m.Load({e.Port(TPortOp::In, 0, 0x20), e.Port(TPortOp::In, 1, 0x30), e.Alu(TAlu::Load, 2, 0x77),
            e.Port(TPortOp::Out, 2, 0x30), e.Port(TPortOp::In, 3, 0x30)});
    m.Start();
    EXPECT_FALSE(m.Sim->GetPortItem(0x30).Written);
    m.Steps(5);
    EXPECT_EQ(m.Sim->Register(0), 0x5A);
    EXPECT_EQ(m.Sim->Register(1), 0x01);
    EXPECT_EQ(m.Sim->Register(3), 0x77);
    EXPECT_TRUE(m.Sim->GetPortItem(0x30).Written);
    EXPECT_EQ(m.Sim->GetPortItem(0x30).Value, 0x77);
    EXPECT_EQ(shown, (std::vector<std::pair<int, int>>{{0x30, 0x77}}));
    // A panel edit reaches what the program reads.
    m.Session->IO().EditMemoryCell(0x20, 0x1C3);
    m.Sim->Reset();
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0), 0xC3);
}

TEST(PortAccess, RamWriteKeepsTheLowByte) {
    TMachine m(TCoreKind::pbt3);
    m.Map(0x40, mkRAM);
    m.Load({m.Encode.Port(TPortOp::Out, 0, 0x40)});
    m.Start();
    m.Sim->SetRegister(0, 0x1AB);
    m.Sim->Step();
    EXPECT_EQ(m.Sim->GetPortItem(0x40).Value, 0xAB);
}

TEST(PortAccess, ScratchPadInsideItsSize) {
    TMachine m(TCoreKind::pbt3);
    m.Sim->SetUsesScratchPad(true);
    m.Settings.WriteValue("ScratchPad", "Size", "3"); // 64 bytes
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 0x99), e.Port(TPortOp::Store, 0, 0x3F), e.Alu(TAlu::Load, 2, 0x3F),
            e.PortReg(TPortOp::Fetch, 1, 2)});
    m.Start();
    EXPECT_EQ(m.Sim->ScratchPadSize(), 64);
    m.Steps(4);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->Register(1), 0x99);
    EXPECT_EQ(m.Session->IO().ScratchPad().Read(0x3F), 0x99);
}

TEST(PortAccess, ProgramWithoutScratchPadUseGetsNone) {
    TMachine m(TCoreKind::pbt3);
    m.Load({m.Encode.Port(TPortOp::Store, 0, 0)}); // as an INST word would put it
    m.Start();
    EXPECT_EQ(m.Sim->ScratchPadSize(), 0);
    m.Sim->Step();
    EXPECT_EQ(m.Sim->State(), ssHalted);
}

TEST(PortAccess, PortFromARegisterIsTakenModulo256) {
    TMachine m(TCoreKind::pbt3);
    m.Map(0x05, mkIO);
    m.Sim->SetUsesScratchPad(true);
    m.Load({m.Encode.PortReg(TPortOp::Out, 0, 1), m.Encode.PortReg(TPortOp::In, 2, 1)});
    m.Start();
    m.Sim->SetRegister(0, 0x42);
    m.Sim->SetRegister(1, 0x105); // would be scratch pad offset 5 if not cut
    m.Steps(2);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Session->IO().BidirectionalPort(5)->Value(), 0x42);
    EXPECT_EQ(m.Sim->Register(2), 0x42);
}

TEST(PortAccess, RegisterPortOnEveryCoreWithIt) {
    for (TCoreKind core : {TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3}) {
        SCOPED_TRACE(CoreName(core));
        TMachine m(core);
        m.Map(0x9C, mkIO);
        int y = core == TCoreKind::pbtII ? 0x1D : 0xD;
        m.Load({m.Encode.PortReg(TPortOp::Out, 2, y), m.Encode.PortReg(TPortOp::In, 3, y)});
        m.Start();
        m.Sim->SetRegister(2, 0x3C);
        m.Sim->SetRegister(y, 0x9C);
        m.Steps(2);
        EXPECT_EQ(m.Sim->Register(3), 0x3C);
    }
}

TEST(PortAccess, BlockRamIsAddressedByWritesAndReadByReads) {
    TMachine m(TCoreKind::pbt3);
    TMemMapItem item;
    item.Kind = mkBlockRAM;
    item.BlockRAM = MakeBlockRAM(8, {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17});
    m.Sim->SetPortItem(0x50, item);
    const TEncoder& e = m.Encode;
    m.Load({e.Port(TPortOp::In, 0, 0x50), e.Alu(TAlu::Load, 1, 5), e.Port(TPortOp::Out, 1, 0x50),
            e.Port(TPortOp::In, 2, 0x50), e.Alu(TAlu::Load, 1, 0xC8), e.Port(TPortOp::Out, 1, 0x50),
            e.Port(TPortOp::In, 3, 0x50)});
    m.Start();
    m.Sim->SetRegister(3, 0x99);
    m.Steps(7);
    EXPECT_EQ(m.Sim->Register(0), 0x10); // address 0 of a fresh block RAM
    EXPECT_EQ(m.Sim->Register(2), 0x15);
    EXPECT_EQ(m.Sim->Register(3), 0);        // past the end of the data
    EXPECT_EQ(item.BlockRAM->Data[5], 0x15); // the write stored nothing
    EXPECT_EQ(m.Sim->State(), ssPaused);
}

TEST(PortAccess, UartStatusBits) {
    struct TCase {
        const char* Name;
        int DataWrites;
        int DataReads;
        int Status;
    };
    const TCase cases[] = {
        {"idle", 0, 0, 0x00},
        {"eight bytes to send", 8, 0, 0x01},
        {"fifteen bytes to send", 15, 0, 0x02},
        {"a sixteenth byte is lost", 16, 0, 0x02},
        {"one read with nothing received", 0, 1, 0x18},
        {"eight reads", 0, 8, 0x14},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMachine m(TCoreKind::pbt3);
        TMemMapItem status;
        status.Kind = mkUART;
        status.TcpPort = 5000;
        TMemMapItem data = status;
        data.TcpPort = -1;
        m.Sim->SetPortItem(0x04, status);
        m.Sim->SetPortItem(0x05, data);
        std::vector<std::uint32_t> words;
        for (int i = 0; i < c.DataWrites; ++i)
            words.push_back(m.Encode.Port(TPortOp::Out, 0, 5));
        for (int i = 0; i < c.DataReads; ++i)
            words.push_back(m.Encode.Port(TPortOp::In, 1, 5));
        words.push_back(m.Encode.Port(TPortOp::In, 2, 4));
        m.Load(words);
        m.Start();
        m.Steps(static_cast<int>(words.size()));
        EXPECT_EQ(m.Sim->Register(2), c.Status);
        EXPECT_EQ(m.Session->IO().UARTAt(4)->Status(), c.Status);
        EXPECT_EQ(m.Session->IO().UARTAt(4)->BytesLost(), c.DataWrites > 15 ? 1 : 0);
    }
}

TEST(PortAccess, UartStatusPortRefusesWrites) {
    TMachine m(TCoreKind::pbtI);
    TMemMapItem status;
    status.Kind = mkUART;
    status.TcpPort = 0;
    TMemMapItem data = status;
    data.TcpPort = -1;
    m.Sim->SetPortItem(0x11, status); // an odd declared port: the data port is 10
    m.Sim->SetPortItem(0x10, data);
    m.Load({m.Encode.Port(TPortOp::Out, 0, 0x10), m.Encode.Port(TPortOp::Out, 0, 0x11)});
    m.Start();
    m.Steps(2);
    EXPECT_EQ(m.Session->IO().UARTAt(0x10)->TransmitWriteIndex(), 1);
    EXPECT_EQ(m.Log.Lines,
              (std::vector<std::string>{"Write to UART status port; Program Counter: $01",
                                        "!Program is Reset", kIOHalt}));
}

TEST(PortAccess, UnattachedHandlersReadZeroAndIgnoreWrites) {
    auto sim = CreateDebugger(TCoreKind::pbt3);
    TMemMapItem item;
    item.Kind = mkIO;
    sim->SetPortItem(1, item);
    sim->SetScratchPadSize(16);
    EXPECT_EQ(sim->ReadData(1), 0);
    sim->WriteData(1, 5);
    EXPECT_EQ(sim->ReadData(256 + 15), 0);
    sim->WriteData(256 + 15, 5);
    EXPECT_THROW(sim->ReadData(256 + 16), EIOError);
    EXPECT_THROW(sim->ReadData(2), EIOError);
}

TEST(PortAccess, ObserversSeeEveryAccess) {
    TMachine m(TCoreKind::pbt3);
    m.Map(1, mkIO);
    m.Sim->SetUsesScratchPad(true);
    struct TAccessLog : IRunObserver {
        std::vector<std::string> Seen;
        void Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) override {
            Seen.push_back(std::string(1, "RWFS"[static_cast<int>(kind)]) +
                           std::to_string(address) + "=" + std::to_string(value));
        }
    } log;
    m.Sim->AttachObserver(log);
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 9), e.Port(TPortOp::Out, 0, 1), e.Port(TPortOp::In, 1, 1),
            e.Port(TPortOp::Store, 0, 2), e.Port(TPortOp::Fetch, 2, 2)});
    m.Start();
    m.Steps(5);
    EXPECT_EQ(log.Seen, (std::vector<std::string>{"W1=9", "R1=9", "S2=9", "F2=9"}));
}

TEST(PortAccess, AHandlerThatResetsTheCoreAbandonsTheInstruction) {
    TMachine m(TCoreKind::pbt3);
    m.Map(1, mkInput);
    m.Load({m.Encode.Alu(TAlu::Load, 0, 1), m.Encode.Port(TPortOp::In, 3, 1)});
    m.Start();
    m.Sim->Step();
    m.Sim->OnRead = [&](std::int32_t, std::uint8_t) {
        m.Sim->Reset();
        return 0x55;
    };
    m.Sim->Step();
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->PC(), 0); // no next address over the reset
    EXPECT_EQ(m.Sim->Register(3), 0);
    EXPECT_EQ(m.Sim->InstructionCount(), 0);
}

TEST(PortAccess, AnInputModelFailureIsAnAccessError) {
    TScratchFolder dir;
    TMachine m(TCoreKind::pbtC);
    TMemMapItem item;
    item.Kind = mkInput;
    item.InFile = dir.File("missing.txt");
    m.Sim->SetPortItem(3, item);
    m.Load({m.Encode.Alu(TAlu::Load, 0, 1), m.Encode.Port(TPortOp::In, 0, 3)});
    m.Start();
    m.Steps(2);
    ASSERT_EQ(m.Log.Lines.size(), 4u);
    EXPECT_NE(m.Log.Lines[0].find("missing.txt"), std::string::npos);
    EXPECT_NE(m.Log.Lines[0].find("; Program Counter: $01"), std::string::npos);
    EXPECT_EQ(m.Log.Lines[1], "!Program is Reset");
    EXPECT_EQ(m.Log.Lines[2],
              "Failure: Cannot open file \"" + item.InFile + "\". No such file or directory");
    EXPECT_EQ(m.Log.Lines[3], kIOHalt);
    EXPECT_EQ(m.Sim->PC(), 0);
    EXPECT_EQ(m.Sim->State(), ssHalted);
    // Once the file exists, the next reset and read work.
    WriteTextLines(item.InFile, {"7"});
    m.Sim->Reset();
    m.Steps(2);
    EXPECT_EQ(m.Sim->Register(0), 7);
}

} // namespace
} // namespace korvo::test
