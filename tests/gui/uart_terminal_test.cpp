// The UART terminal: typed lines go to the program, what it sends shows as
// text with escapes or in hexadecimal; a TCP port that is taken gives one
// failure line and the terminal goes on; Animate runs with the line following.
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "gui_test_support.h"
#include "panels/simulation_panels.h"
#include "panels/uart_terminal.h"
#include "shell/commands.h"
#include "shell/editor.h"
#include "shell/main_window.h"
#include "shell/run_speed.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"
#include "simulator/simulation_session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

// The echo example with its UARTs on the given TCP ports.
std::string EchoProgram(quint16 firstPort, quint16 secondPort) {
    std::string text = JoinLinesCrLf(ReadTextLines(KORVO_EXAMPLES_DIR "/uart_echo_pbt3.psm"));
    text.replace(text.find("$04, 4000"), 9, "$04, " + std::to_string(firstPort));
    return text + "other    UART  $08, " + std::to_string(secondPort) + "\r\n";
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

void RunBriefly(TTestWindow& window) {
    DuringRun(window, 300, [&] { window->Commands().actPause->trigger(); });
    Press(window, window->Commands().actRun);
}

} // namespace

class UartTerminalTest : public QObject {
    Q_OBJECT

private slots:
    void TypedLinesComeBackAndATakenPortIsOneFailure() {
        TTestWindow window;
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
        quint16 free = FreePort();
        int first = LogCount(window);
        StartSimulation(window, "echo.psm", EchoProgram(taken.serverPort(), free));
        const auto& terminals = Panels(window).UartTerminals();
        QCOMPARE(terminals.size(), std::size_t{2});
        TFrameUartTerminal& terminal = *terminals[0];
        QStringList failures = LogSince(window, first).filter(QRegularExpression("^Failure: "));
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures[0].startsWith("Failure: UART $04 cannot listen on 127.0.0.1:"));
        QVERIFY(terminal.TcpState->text().startsWith(
            QStringLiteral("TCP: port %1 in use").arg(taken.serverPort())));
        QCOMPARE(terminals[1]->TcpState->text(),
                 QStringLiteral("TCP: listening on 127.0.0.1:%1").arg(free));

        terminal.LineEnd->setCurrentIndex(2); // CR LF
        terminal.Input->setText("Hi, ok\x7f");
        emit terminal.Input->returnPressed();
        QCOMPARE(terminal.Input->text(), QString());
        RunBriefly(window);
        QCOMPARE(terminal.Screen->toPlainText(), QString("HI, OK<7F><0D>\n"));
        QCOMPARE(terminal.Counts->text(), QString("Sent 9, received 9, lost 0"));
        terminal.HexView->setChecked(true);
        QCOMPARE(terminal.Screen->toPlainText(), QString("48 49 2C 20 4F 4B 7F 0D 0A"));
        terminal.ClearButton->click();
        QCOMPARE(terminal.Screen->toPlainText(), QString());

        // A full input buffer refuses a line and keeps it.
        TUARTModel& uart = *window.Active().Session()->IO().UARTs()[0];
        uart.Feed(std::string(TUARTModel::kHostBufferSize, 'x'));
        terminal.Input->setText("more");
        emit terminal.Input->returnPressed();
        QCOMPARE(terminal.Input->text(), QString("more"));
        QVERIFY(terminal.Counts->text().contains("Input refused"));
    }

    void AnimateFollowsEveryInstructionWithoutTcp() {
        TTestWindow window;
        settings::StoreUartTcpBridge(window.Settings.Store(), false);
        int first = LogCount(window);
        TEditor& document =
            StartSimulation(window, "echo.psm", EchoProgram(FreePort(), FreePort()));
        QCOMPARE(Panels(window).UartTerminals()[0]->TcpState->text(), QString("TCP: off"));
        QVERIFY(LogSince(window, first).filter("listening").isEmpty());
        auto& speed = window->Commands().RunSpeed();
        speed.actSpeedAnimate->trigger();
        speed.SetAnimateRate(50);
        int following = 0;
        DuringRun(window, 150, [&] {
            following = document.GetCaretPos().Line == Simulator(window).CurrentLine();
            window->Commands().actPause->trigger();
        });
        Press(window, window->Commands().actRun);
        QVERIFY(following);
        std::int64_t count = Simulator(window).InstructionCount();
        QVERIFY2(count >= 3 && count <= 30, qPrintable(QString::number(count)));
    }
};

QTEST_MAIN(UartTerminalTest)
#include "uart_terminal_test.moc"
