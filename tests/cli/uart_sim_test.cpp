// korvo sim with its UART on standard input and output, and served over TCP
// on loopback: an echo program returns every byte, without loss.
#include "cli_support.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

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

struct TScratch {
    korvo::test::TScratchFolder Folder;
    std::string Dir = Folder.Path();
};

TEST(UartSim, StdioRoundTripsThroughEchoPrograms) {
    TScratch scratch;
    WriteFile(scratch.Dir + "/echo.psm", EchoSource(0));
    std::string megabyte(1 << 20, '\0');
    std::mt19937 random(13);
    for (char& byte : megabyte)
        byte = static_cast<char>(random());
    struct TCase {
        std::string Source, Options, Input, Output, Report;
    };
    const TCase cases[] = {
        {scratch.Dir + "/echo.psm", "--uart-baud 10000000", megabyte, megabyte,
         "UART $04: 1048576 sent, 1048576 received, 0 lost"},
        // The example's opening comment.
        {KORVO_EXAMPLES_DIR "/uart_echo_pbt3.psm", "", "hello, picoblaze\n", "HELLO, PICOBLAZE\n",
         "s1=$0A s2=$11"},
    };
    for (const auto& c : cases) {
        std::string command = "'" KORVO_EXECUTABLE "' sim --settings '" + scratch.Dir +
                              "/s.ini' --core 3 --uart-stdio " + c.Options + " '" + c.Source +
                              "' >'" + scratch.Dir + "/out' 2>'" + scratch.Dir + "/err'";
        // Through a pipe, which blocks the writer while the UART catches up.
        FILE* pipe = popen(command.c_str(), "w");
        ASSERT_NE(pipe, nullptr);
        ASSERT_EQ(std::fwrite(c.Input.data(), 1, c.Input.size(), pipe), c.Input.size());
        int raw = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << raw;
        EXPECT_TRUE(ReadFile(scratch.Dir + "/out") == c.Output) << c.Source;
        std::string err = ReadFile(scratch.Dir + "/err");
        EXPECT_NE(err.find(c.Report), std::string::npos) << err;
    }
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
    std::string bytes = ReadFile(file);
    for (int i = 0; i < 100 && bytes.find(text) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        bytes = ReadFile(file);
    }
    return bytes;
}

TEST(UartSim, TcpServesOneClientAtATimeOnLoopback) {
    TScratch scratch;
    quint16 port;
    {
        QTcpServer probe; // a port that is free now
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    WriteFile(scratch.Dir + "/echo.psm", EchoSource(port));
    // Real time at 1 MHz and an instruction limit bound the run to 10 s.
    WriteFile(scratch.Dir + "/s.ini", "[Time]\nFrequency=1\n");
    std::string command = "'" KORVO_EXECUTABLE "' sim --settings '" + scratch.Dir +
                          "/s.ini' --core 3 --uart-tcp --uart-wait --real-time "
                          "--max-instructions 5000000 '" +
                          scratch.Dir + "/echo.psm' >'" + scratch.Dir + "/out' 2>&1 & echo $!";
    FILE* started = popen(command.c_str(), "r");
    ASSERT_NE(started, nullptr);
    int pid = 0;
    ASSERT_EQ(std::fscanf(started, "%d", &pid), 1);
    pclose(started);

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
    WaitFor(scratch.Dir + "/out", "disconnected");
    ASSERT_TRUE(Connect(third, port));
    third.write("pong");
    EXPECT_EQ(ReadAtLeast(third, 4), QByteArray("pong"));
    ::kill(pid, SIGTERM); // ends the run with its report
    std::string out = WaitFor(scratch.Dir + "/out", "IE=");
    std::string listening = "!UART $04: listening on 127.0.0.1:" + std::to_string(port);
    for (const std::string& line :
         {listening, std::string("connected"), std::string("refused, one client at a time"),
          std::string("disconnected"), std::string("UART $04: 8 sent, 8 received, 0 lost")})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

TEST(UartSim, UartOptionsThatCannotWork) {
    TScratch scratch;
    WriteFile(scratch.Dir + "/echo.psm", EchoSource(0));
    WriteFile(scratch.Dir + "/none.psm", "loop: JUMP loop\n");
    const std::vector<std::vector<std::string>> cases = {
        {"--uart-wait", "echo.psm"},
        {"--uart-tcp", "--uart-stdio", "echo.psm"},
        {"--uart-baud", "49", "echo.psm"},
        {"--uart-tcp", "none.psm"},
    };
    for (auto args : cases) {
        args.back() = scratch.Dir + "/" + args.back();
        args.insert(args.begin(), {"sim", "--settings", scratch.Dir + "/s.ini", "--core", "3"});
        TRunResult result = RunInProcess(args);
        EXPECT_EQ(result.Status, 2) << args[5];
        EXPECT_NE(result.Err.find("korvo sim: "), std::string::npos) << result.Err;
    }
}

} // namespace
} // namespace korvo::cli::test
