// korvo sim with its UART served over TCP on loopback: an echo program
// returns every byte to one client at a time.
#include "cli_support.h"
#include "data_files.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <utility>

namespace korvo::cli::test {
namespace {

// Echoes every byte it receives: waits for one, then for room to send it.
std::string EchoSource(int tcpPort) {
    return "serial  UART  $04, " + std::to_string(tcpPort) +
           "\n"
           "data    EQU   $05\n"
           "next:   IN    s0, serial\n"
           "        TEST  s0, $10\n"
           "        JUMP  Z, next\n"
           "        IN    s1, data\n"
           "send:   IN    s0, serial\n"
           "        TEST  s0, $02\n"
           "        JUMP  NZ, send\n"
           "        OUT   s1, data\n"
           "        JUMP  next\n";
}

// Connects to the port, retrying while the simulator starts.
bool Connect(QTcpSocket& socket, quint16 port) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(1000)) return true;
        socket.abort();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

QByteArray ReadAtLeast(QTcpSocket& socket, int count) {
    QByteArray bytes;
    while (bytes.size() < count && socket.waitForReadyRead(5000))
        bytes += socket.readAll();
    return bytes;
}

// The file once it holds text, or after 5 s.
std::string WaitFor(const std::string& file, const std::string& text) {
    std::string bytes = korvo::test::ReadBytes(file);
    for (int i = 0; i < 100 && bytes.find(text) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        bytes = korvo::test::ReadBytes(file);
    }
    return bytes;
}

// Starts the echo program on a free port in the background: its port and
// process id; the run writes its text to scratch/out.
std::pair<quint16, int> StartEcho(korvo::test::TScratchFolder& scratch) {
    quint16 port;
    {
        QTcpServer probe; // a port that is free now
        if (!probe.listen(QHostAddress::LocalHost, 0)) return {0, 0};
        port = probe.serverPort();
    }
    scratch.Write("echo.psm", EchoSource(port));
    // Real time at 1 MHz and an instruction limit bound the run to 10 s.
    scratch.Write("s.ini", "[Time]\nFrequency=1\n");
    std::string command = "cd " + ShellQuote(scratch.Path()) +
                          " && '" KORVO_EXECUTABLE
                          "' sim --settings s.ini --core 3 --uart-tcp --uart-wait --real-time "
                          "--max-instructions 5000000 echo.psm >out 2>&1 & echo $!";
    FILE* started = popen(command.c_str(), "r");
    if (!started) return {0, 0};
    int pid = 0;
    if (std::fscanf(started, "%d", &pid) != 1) pid = 0;
    pclose(started);
    return {port, pid};
}

TEST(UartSim, TcpServesOneClientAtATimeOnLoopback) {
    korvo::test::TScratchFolder scratch;
    auto [port, pid] = StartEcho(scratch);
    ASSERT_NE(pid, 0);

    QTcpSocket first, second, third;
    ASSERT_TRUE(Connect(first, port));
    first.write("ping");
    EXPECT_EQ(ReadAtLeast(first, 4), QByteArray("ping"));
    ASSERT_TRUE(Connect(second, port));
    EXPECT_EQ(ReadAtLeast(second, 38), QByteArray("UART $04 is busy: one client at a time\r\n"));
    EXPECT_TRUE(second.state() == QAbstractSocket::UnconnectedState ||
                second.waitForDisconnected(5000));
    first.disconnectFromHost();
    // Another client is taken once the simulator has seen this one go.
    WaitFor(scratch / "out", "disconnected");
    ASSERT_TRUE(Connect(third, port));
    third.write("pong");
    EXPECT_EQ(ReadAtLeast(third, 4), QByteArray("pong"));
    ::kill(pid, SIGTERM); // ends the run with its report
    std::string out = WaitFor(scratch / "out", "IE=");
    std::string listening = "!UART $04: listening on 127.0.0.1:" + std::to_string(port);
    for (const std::string& line :
         {listening, std::string("connected"), std::string("refused, one client at a time"),
          std::string("disconnected"), std::string("UART $04: 8 sent, 8 received, 0 lost")})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

// A client that leaves takes along what it sent and the program has not
// echoed yet: the next client hears only its own bytes, after at most what
// the UART held (two queues of 16 bytes, a byte on each line, one in s1).
TEST(UartSim, TcpDropsWhatALeavingClientLeft) {
    korvo::test::TScratchFolder scratch;
    auto [port, pid] = StartEcho(scratch);
    ASSERT_NE(pid, 0);
    QTcpSocket first, next;
    ASSERT_TRUE(Connect(first, port));
    first.write(QByteArray(60000, 'a'));
    first.waitForBytesWritten(5000);
    EXPECT_EQ(ReadAtLeast(first, 1).left(1), QByteArray("a"));
    first.disconnectFromHost();
    WaitFor(scratch / "out", "disconnected");
    ASSERT_TRUE(Connect(next, port));
    next.write("pong");
    QByteArray heard;
    while (!heard.endsWith("pong") && next.waitForReadyRead(5000))
        heard += next.readAll();
    EXPECT_TRUE(heard.endsWith("pong")) << heard.size();
    EXPECT_LE(heard.size(), 4 + 2 * 16 + 4);
    ::kill(pid, SIGTERM);
    WaitFor(scratch / "out", "IE=");
}

} // namespace
} // namespace korvo::cli::test
