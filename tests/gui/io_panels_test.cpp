// The input, output and bidirectional frames on a real simulation: switches
// read by IN, OUT lighting LEDs and logging to a file written at Reset,
// stimulus files feeding successive reads, the two message boxes, the one-
// or two-column placement, user changes of bidirectional ports, the UART,
// and the LEDs' pictures.
#include "gui_test_support.h"
#include "panels/frame_input.h"
#include "panels/frame_io_panels.h"
#include "panels/frame_output.h"
#include "panels/led.h"
#include "panels/panel_widgets.h"
#include "panels/simulation_panels.h"
#include "shell/commands.h"
#include "shell/editor.h"
#include "shell/main_window.h"
#include "shell/panel_limits.h"
#include "shell/source_editor.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

TFrameIOPanels& IOPanels(TTestWindow& window) {
    return Panels(window).IOPanels();
}

QList<bool> LitLEDs(const TFrameOutput& frame) {
    QList<bool> lit;
    for (int bit = 7; bit >= 0; --bit)
        lit << frame.LEDs[bit]->Lit();
    return lit;
}

void Step(TTestWindow& window, int times = 1) {
    for (int i = 0; i < times; ++i)
        Press(window, window->Commands().actStepOne);
}

std::string Ports(int inputs, int outputs) {
    std::string text;
    for (int port = 0; port < inputs + outputs; ++port)
        text +=
            (port < inputs ? "        DSIN  " : "        DSOUT ") + std::to_string(port) + "\r\n";
    return text + "loop:   JUMP  loop\r\n";
}

QColor CentreOf(TLED& led) {
    return led.grab().toImage().pixelColor(TLEDBitmap::kWidth / 2, TLEDBitmap::kHeight / 2);
}

} // namespace

class IOPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void SwitchesAreReadByInAndOutLightsLEDs() {
        TTestWindow window;
        StartSimulation(window, "io.psm",
                        "sw      DSIN  $05\r\n"
                        "leds    DSOUT $06\r\n"
                        "        IN    s0, sw\r\n"
                        "        OUT   s0, leds\r\n"
                        "loop:   JUMP  loop\r\n");
        TFrameInput* input = IOPanels(window).InputFrame(5);
        TFrameOutput* output = IOPanels(window).OutputFrame(6);
        QVERIFY(input && output);
        QCOMPARE(input->objectName(), QString("FrameInput5"));
        QCOMPARE(input->GroupBox->title(), QString(" sw "));
        QCOMPARE(input->PortLabel->text(), QString("$05"));
        QCOMPARE(output->GroupBox->title(), QString(" leds "));
        QCOMPARE(output->LEDs[0]->Colour(), lcGreen);
        QCOMPARE(output->LEDs[0]->toolTip(), QString());
        input->Switches[0]->click();
        input->Switches[7]->click();
        QCOMPARE(input->ValueLabel->text(), QString("$81"));
        QCOMPARE(input->Model().Value(), 0x81);
        Step(window, 2);
        QCOMPARE(Simulator(window).Register(0), 0x81);
        QCOMPARE(LitLEDs(*output),
                 QList<bool>({true, false, false, false, false, false, false, true}));
        QCOMPARE(output->ValueLabel->text(), QString("$81"));
        // An output-only frame ignores clicks on its LEDs.
        emit output->LEDs[1]->Clicked(1);
        QCOMPARE(output->Model().Value(), 0x81);
        // The frames leave with the simulation.
        Press(window, window->Commands().actSimulate);
        QCOMPARE(IOPanels(window).InputFrame(5), nullptr);
        QCOMPARE(IOPanels(window).FrameCount(), 0);
    }

    void OutValuesGoToALogFileWrittenAtReset() {
        TTestWindow window;
        QString log = QDir(window.Settings.Folder()).filePath("out.log");
        QString formatted = QDir(window.Settings.Folder()).filePath("fmt.log");
        StartSimulation(window, "log.psm",
                        "leds    DSOUT $06, \"out.log\"\r\n"
                        "count   DSOUT $07, \"fmt.log\", \"n=%3d %c\"\r\n"
                        "        LOAD  s0, $0A\r\n"
                        "        OUT   s0, leds\r\n"
                        "        LOAD  s0, $41\r\n"
                        "        OUT   s0, leds\r\n"
                        "        OUT   s0, count\r\n"
                        "loop:   JUMP  loop\r\n");
        Step(window, 5);
        QCOMPARE(ReadFile(log), std::string()); // written empty by the first reset
        QCOMPARE(LitLEDs(*IOPanels(window).OutputFrame(6)),
                 QList<bool>({false, true, false, false, false, false, false, true}));
        Press(window, window->Commands().actReset);
        QCOMPARE(ReadFile(log), std::string("$0A\r\n$41\r\n"));
        QCOMPARE(ReadFile(formatted), std::string("n= 65 A\r\n"));
        // The next reset starts the file afresh; leaving Simulate mode writes
        // what was logged since.
        Step(window, 2);
        Press(window, window->Commands().actSimulate);
        QCOMPARE(ReadFile(log), std::string("$0A\r\n"));
    }

    void AStimulusFileFeedsSuccessiveReads() {
        TTestWindow window;
        WriteFile(window.Settings.Folder(), "in.txt", "3\r\n$10\r\nabc\r\n7\r\n");
        StartSimulation(window, "stim.psm",
                        "samples DSIN  $00, \"in.txt\"\r\n"
                        "        IN    s0, samples\r\n"
                        "        IN    s1, samples\r\n"
                        "        IN    s2, samples\r\n"
                        "        IN    s3, samples\r\n"
                        "loop:   JUMP  loop\r\n");
        TFrameInput* input = IOPanels(window).InputFrame(0);
        QCOMPARE(input->ValueLabel->text(), QString("$03"));
        Step(window, 2);
        QCOMPARE(window.Dialogs.Errors, QStringList({"abc is not an integer"}));
        Step(window, 2);
        TPicoBlazeDebugger& simulator = Simulator(window);
        QCOMPARE(QList<int>({simulator.Register(0), simulator.Register(1), simulator.Register(2),
                             simulator.Register(3)}),
                 QList<int>({3, 0x10, 0x10, 7}));
        QCOMPARE(input->ValueLabel->text(), QString("$07"));
        // Reset reads the file again.
        Press(window, window->Commands().actReset);
        QCOMPARE(input->ValueLabel->text(), QString("$03"));
        Step(window);
        QCOMPARE(simulator.Register(0), 3);
    }

    void ABadFormatIsReportedAtEachOutWhenSteppingAndOnceARun() {
        TTestWindow window;
        StartSimulation(window, "bad.psm",
                        "leds    DSOUT $06, \"bad.log\", \"%q\"\r\n"
                        "loop:   OUT   s0, leds\r\n"
                        "        ADD   s0, 1\r\n"
                        "        JUMP  loop\r\n");
        const QString message = "Bad format specifier \"%q\" at port $06";
        Step(window, 4);
        QCOMPARE(window.Dialogs.Errors, QStringList({message, message}));
        // The value is set all the same.
        QCOMPARE(IOPanels(window).OutputFrame(6)->ValueLabel->text(), QString("$01"));
        DuringRun(window, 60, [&] { Press(window, window->Commands().actPause); });
        Press(window, window->Commands().actRun);
        QCOMPARE(window.Dialogs.Errors.size(), 3);
        QVERIFY(Simulator(window).InstructionCount() > 100);
    }

    void FramesGoIntoTwoColumnsBeyondTheMaximum() {
        struct TCase {
            int Inputs, Outputs, Maximum, Columns;
        };
        TPanelLimits saved = ProcessPanelLimits();
        for (TCase c : {TCase{5, 6, 10, 2}, TCase{5, 5, 10, 1}, TCase{2, 3, 4, 2}}) {
            ProcessPanelLimits().IoPanelsVertical = c.Maximum;
            TTestWindow window;
            StartSimulation(window, "ports.psm", Ports(c.Inputs, c.Outputs));
            TFrameIOPanels& panels = IOPanels(window);
            QCOMPARE(panels.FrameCount(), c.Inputs + c.Outputs);
            QCOMPARE(panels.ColumnCount(), c.Columns);
            int last = c.Inputs + c.Outputs - 1;
            QCOMPARE(panels.OutputFrame(last)->pos(),
                     QPoint(last % c.Columns * TFrameOutput::kWidth,
                            last / c.Columns * TFrameOutput::kHeight));
            QCOMPARE(panels.widget()->width(), c.Columns * TFrameOutput::kWidth);
        }
        ProcessPanelLimits() = saved;
    }

    void TheUserChangesABidirectionalPort() {
        TTestWindow window;
        QString log = QDir(window.Settings.Folder()).filePath("io.log");
        StartSimulation(window, "bidi.psm",
                        "both    DSIO  $07, \"io.log\", \"%d\"\r\n"
                        "hidden  DS    $08\r\n"
                        "loop:   IN    s0, both\r\n"
                        "        JUMP  loop\r\n");
        QCOMPARE(IOPanels(window).InOutFrame(8), nullptr); // DS ports have no frame
        TFrameOutput* frame = IOPanels(window).InOutFrame(7);
        QVERIFY(frame);
        QCOMPARE(frame->objectName(), QString("FrameInOut7"));
        QCOMPARE(frame->LEDs[3]->Colour(), lcRed);
        QCOMPARE(frame->LEDs[3]->toolTip(), QString("Click to toggle LED on/off"));
        emit frame->LEDs[3]->Clicked(3);
        QCOMPARE(frame->ValueLabel->text(), QString("$08"));
        QVERIFY(frame->LEDs[3]->Lit());
        window.Dialogs.ValueTexts = {"1ff"};
        emit frame->ValueLabel->DoubleClicked(0);
        QCOMPARE(window.Dialogs.ValuesAsked, (QList<QPair<int, int>>{{7, 8}}));
        QCOMPARE(frame->ValueLabel->text(), QString("$FF"));
        Step(window);
        QCOMPARE(Simulator(window).Register(0), 0xFF);
        Press(window, window->Commands().actReset);
        QCOMPARE(ReadFile(log), std::string("8\r\n255\r\n"));
    }

    void TheUartExampleWaitsForRoomInItsTransmitQueue() {
        TTestWindow window;
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        window->OpenDocument(QStringLiteral(KORVO_EXAMPLES_DIR "/uart_pbt3.psm"));
        TEditor& document = window.Active();
        Press(window, window->Commands().actSimulate);
        QCOMPARE(document.Mode(), dmSimulate);
        QStringList lines = document.TextControl()->text().split("\r\n");
        int done = static_cast<int>(lines.indexOf(QRegularExpression("^done:.*"))) + 1;
        QVERIFY(done > 0);
        document.SetCaretPos({done, 1});
        QVERIFY(Press(window, window->Commands().actGotoCursor));
        QCOMPARE(Simulator(window).Register(0), 0x10); // the whole message went
        QCOMPARE(Simulator(window).Register(3), 0x0A);
        // The last status it read had room: the transmit queue was not full.
        QCOMPARE(IOPanels(window).OutputFrame(1)->ValueLabel->text(), QString("$00"));
    }

    void LEDsShowThreeColoursAndADisabledLook() {
        TLED led;
        QCOMPARE(led.size(), QSize(12, 13));
        QSet<QRgb> pictures;
        for (TLEDColour colour : {lcRed, lcGreen, lcYellow})
            for (bool lit : {false, true}) {
                led.SetColour(colour);
                led.SetLit(lit);
                pictures << CentreOf(led).rgb();
            }
        QCOMPARE(pictures.size(), 6);
        led.SetLit(true);
        led.setEnabled(false);
        QColor disabled = CentreOf(led);
        QVERIFY(!pictures.contains(disabled.rgb()));
        QVERIFY2(qAbs(disabled.red() - disabled.green()) < 8 &&
                     qAbs(disabled.green() - disabled.blue()) < 8,
                 "a disabled LED is grey");
        // Lit is brighter than unlit.
        led.setEnabled(true);
        led.SetColour(lcGreen);
        int lit = CentreOf(led).lightness();
        led.SetLit(false);
        QVERIFY(lit > CentreOf(led).lightness() + 40);
    }
};

QTEST_MAIN(IOPanelsTest)
#include "io_panels_test.moc"
