// The peripherals behind the port events: stimulus files, output logs and
// their format, bidirectional ports and the files written at each reset.
#include "sim_test_support.h"

#include "common/text_file.h"
#include "simulator/log_format.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

// A PicoBlaze 3 machine whose program reads port `in` into s0..s(n-1).
struct TIoMachine : TMachine {
    TIoMachine() : TMachine(TCoreKind::pbt3) {
        Session->IO().OnMessage = [this](const std::string& text) { Messages.push_back(text); };
    }
    void Declare(int port, TMemKind kind, const std::string& inFile = "",
                 const std::string& outFile = "", const std::string& format = "") {
        TMemMapItem item = Sim->GetPortItem(port);
        item.Kind = kind;
        item.Visible = true;
        item.InFile = inFile;
        item.OutFile = outFile;
        item.OutFormat = format;
        Sim->SetPortItem(port, item);
    }
    std::vector<std::string> Messages;
};

TEST(InputPort, StimulusLinesFeedSuccessiveReadsFromTheFirst) {
    TScratchFolder dir;
    WriteTextLines(dir.File("in.txt"), {"5", "$1F", "abc", "300", "-2"});
    TIoMachine m;
    m.Declare(2, mkInput, dir.File("in.txt"));
    std::vector<std::uint32_t> words;
    for (int i = 0; i < 7; ++i)
        words.push_back(m.Encode.Port(TPortOp::In, i, 2));
    m.Load(words);
    m.Start();
    EXPECT_EQ(m.Session->IO().InputPort(2)->Value(), 5); // primed by the reset
    m.Steps(7);
    const std::int32_t expected[] = {5, 0x1F, 0x1F, 300, -2, -2, -2};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(m.Sim->Register(i), expected[i]) << "read " << i;
    EXPECT_EQ(m.Messages, std::vector<std::string>{"abc is not an integer"});
    // A reset reloads the file.
    m.Sim->Reset();
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0), 5);
}

TEST(InputPort, WithoutStimulusEveryReadReturnsTheSwitches) {
    TIoMachine m;
    m.Declare(9, mkInput);
    m.Load({m.Encode.Port(TPortOp::In, 0, 9), m.Encode.Port(TPortOp::In, 1, 9)});
    m.Start();
    m.Session->IO().InputPort(9)->SetValue(0xA5);
    m.Steps(2);
    EXPECT_EQ(m.Sim->Register(0), 0xA5);
    EXPECT_EQ(m.Sim->Register(1), 0xA5);
}

TEST(InputPort, EmptyStimulusFileLeavesTheValue) {
    TScratchFolder dir;
    WriteTextLines(dir.File("empty.txt"), {});
    TIoMachine m;
    m.Declare(1, mkInput, dir.File("empty.txt"));
    m.Load({m.Encode.Port(TPortOp::In, 0, 1)});
    m.Start();
    m.Session->IO().InputPort(1)->SetValue(3);
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0), 3);
}

TEST(OutputPort, LogLinesAreWrittenAtEveryResetAndAtTheEnd) {
    TScratchFolder dir;
    std::string log = dir.File("out.log");
    WriteTextLines(log, {"old"});
    TIoMachine m;
    m.Declare(6, mkOutput, "", log);
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 0x0A), e.Port(TPortOp::Out, 0, 6), e.Alu(TAlu::Add, 0, 0xF0),
            e.Port(TPortOp::Out, 0, 6)});
    m.Start();
    EXPECT_EQ(ReadFileBytes(log), ""); // replaced by the empty list at the reset
    m.Steps(4);
    auto* port = m.Session->IO().OutputPort(6);
    EXPECT_EQ(port->Value(), 0xFA);
    EXPECT_EQ(port->LogLines(), (std::vector<std::string>{"$0A", "$FA"}));
    m.Sim->Reset();
    EXPECT_EQ(ReadFileBytes(log), "$0A\r\n$FA\r\n");
    EXPECT_TRUE(port->LogLines().empty());
    m.Steps(2);
    m.Session->IO().FlushPendingLogs();
    EXPECT_EQ(ReadFileBytes(log), "$0A\r\n");
    // Nothing new: the end of a run leaves the file alone.
    WriteTextLines(log, {"kept"});
    m.Session->IO().FlushPendingLogs();
    EXPECT_EQ(ReadFileBytes(log), "kept\r\n");
}

TEST(OutputPort, WithoutLogFileNothingIsLogged) {
    TIoMachine m;
    m.Declare(6, mkOutput);
    m.Load({m.Encode.Port(TPortOp::Out, 0, 6)});
    m.Start();
    m.Sim->Step();
    EXPECT_TRUE(m.Session->IO().OutputPort(6)->LogLines().empty());
    EXPECT_FALSE(m.Session->IO().OutputPort(6)->HasLog());
}

TEST(OutputPort, TheDeclaredFormatAndABadOne) {
    TScratchFolder dir;
    TIoMachine m;
    m.Declare(0x10, mkOutput, "", dir.File("a.log"), "%d:%c");
    m.Declare(0x11, mkIO, "", dir.File("b.log"), "%q");
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 0x41), e.Port(TPortOp::Out, 0, 0x10),
            e.Port(TPortOp::Out, 0, 0x11), e.Port(TPortOp::Out, 0, 0x11)});
    m.Start();
    m.Steps(4);
    EXPECT_EQ(m.Session->IO().OutputPort(0x10)->LogLines(), std::vector<std::string>{"65:A"});
    auto* bad = m.Session->IO().BidirectionalPort(0x11);
    EXPECT_TRUE(bad->LogLines().empty());
    EXPECT_EQ(bad->Value(), 0x41);
    EXPECT_EQ(m.Messages, std::vector<std::string>(2, "Bad format specifier \"%q\" at port $11"));
    EXPECT_EQ(m.Sim->State(), ssPaused);
}

TEST(OutputPort, UserChangesOnlyOnBidirectionalPorts) {
    TScratchFolder dir;
    TIoMachine m;
    m.Declare(1, mkOutput, "", dir.File("o.log"));
    m.Declare(2, mkIO, "", dir.File("b.log"));
    m.Load({m.Encode.Port(TPortOp::In, 0, 2)});
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
    EXPECT_EQ(both->Value(), 0xFF);
    EXPECT_EQ(both->LogLines(), (std::vector<std::string>{"$08", "$FF"}));
    m.Sim->Step();
    EXPECT_EQ(m.Sim->Register(0), 0xFF); // the program reads the frame's value
}

TEST(OutputPort, InputAndOutputOnOnePort) {
    TIoMachine m;
    m.Declare(4, mkInOut);
    m.Load({m.Encode.Port(TPortOp::In, 0, 4), m.Encode.Port(TPortOp::Out, 1, 4)});
    m.Start();
    m.Session->IO().InputPort(4)->SetValue(0x12);
    m.Sim->SetRegister(1, 0x34);
    m.Steps(2);
    EXPECT_EQ(m.Sim->Register(0), 0x12);
    EXPECT_EQ(m.Session->IO().OutputPort(4)->Value(), 0x34);
    EXPECT_EQ(m.Session->IO().InputPort(4)->Value(), 0x12);
}

TEST(OutputPort, ALogFileThatCannotBeWrittenIsReported) {
    TScratchFolder dir;
    TIoMachine m;
    m.Declare(1, mkOutput, "", dir.File("no/such/dir/x.log"));
    m.Load({m.Encode.Port(TPortOp::Out, 0, 1), m.Encode.Port(TPortOp::Out, 0, 1)});
    m.Start();
    m.Steps(2);
    m.Sim->Reset();
    ASSERT_EQ(m.Log.Lines.size(), 2u);
    EXPECT_EQ(m.Log.Lines[0], "!Program is Reset");
    EXPECT_EQ(m.Log.Lines[1].rfind("Failure: ", 0), 0u);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    // The lines are kept for another try.
    EXPECT_EQ(m.Session->IO().OutputPort(1)->LogLines().size(), 2u);
}

TEST(OutputPort, LeavingSimulationWritesWhatIsLeft) {
    TScratchFolder dir;
    TIoMachine m;
    m.Declare(1, mkOutput, "", dir.File("x.log"));
    m.Load({m.Encode.Port(TPortOp::Out, 0, 1)});
    m.Start();
    m.Sim->Step();
    m.Sim->ClearCodeImage();
    EXPECT_EQ(ReadFileBytes(dir.File("x.log")), "$00\r\n");
    EXPECT_EQ(m.Session->IO().OutputPort(1), nullptr);
}

struct TFormatCase {
    const char* Format;
    std::int32_t Value;
    const char* Line;
};

const TFormatCase kFormats[] = {
    {"$%.2x", 0x0A, "$0A"},
    {"$%.2x", 0x1AB, "$1AB"},
    {"%d", 200, "200"},
    {"%5d|", 42, "   42|"},
    {"%-5d|", 42, "42   |"},
    {"%.4d", 42, "0042"},
    {"%6.3d", 7, "   007"},
    {"%x", 255, "FF"},
    {"%X", 171, "AB"},
    {"%.4X", 10, "000A"},
    {"%u", -1, "4294967295"},
    {"%d", -5, "-5"},
    {"%.3d", -5, "-005"},
    {"%x", -1, "FFFFFFFF"},
    {"%c", 65, "A"},
    {"%s", 66, "B"},
    {"%3s|", 66, "  B|"},
    {"%-3c|", 67, "C  |"},
    {"%.0s|", 66, "|"},
    {"%d %c", 65, "65 A"},
    {"%x=%s", 0x41, "41=A"},
    {"100%%", 1, "100%"},
    {"%D", 7, "7"},
    {"plain text", 1, "plain text"},
    {"", 1, ""},
    {"%08d", 5, "       5"},
};

TEST(LogFormat, Specifiers) {
    for (const auto& c : kFormats)
        EXPECT_EQ(FormatLogLine(c.Format, c.Value), c.Line) << c.Format;
}

TEST(LogFormat, AnythingElseIsABadSpecifier) {
    const char* bad[] = {"%q", "%",  "abc%", "%5", "%d %d %d", "%*d",     "%1:d", "%e", "%f",
                         "%-", "%.", "%n",   "%p", "%99999d",  "%.2000x", "%+d",  "% d"};
    for (const char* format : bad)
        EXPECT_THROW(FormatLogLine(format, 1), EFormatError) << format;
}

} // namespace
} // namespace korvo::test

namespace korvo::test {
namespace {

TEST(UARTModel, OnlyTheStatusAndDataPortsDoAnything) {
    TUARTModel uart(8, 9);
    EXPECT_EQ(uart.Read(10), 0);
    uart.Write(10, 0x55); // another UART port: ignored
    EXPECT_EQ(uart.TransmitWriteIndex(), 0);
    uart.Write(9, 0x1A5);
    EXPECT_EQ(uart.TransmitQueue()[0], 0xA5);
    EXPECT_THROW(uart.Write(8, 1), EIOError);
    for (int i = 0; i < 16; ++i)
        uart.Read(9); // wraps round the queue
    EXPECT_EQ(uart.ReceiveReadIndex(), 0);
    EXPECT_EQ(uart.Status(), 0);
}

TEST(ScratchPadModel, PlacesBeyondTheSizeReadZero) {
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
