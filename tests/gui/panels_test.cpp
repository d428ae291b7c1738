// The simulation panels on a real simulation: registers, flags and the
// interrupt in the status panel; switches, LEDs, log and stimulus files in
// the I/O frames; the scratch pad and RAM/ROM frames; the UART terminal with
// its TCP bridge.
#include "common/settings.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "gui_test_support.h"
#include "panels/change_marks.h"
#include "panels/frame_input.h"
#include "panels/frame_io_panels.h"
#include "panels/frame_output.h"
#include "panels/frame_ram.h"
#include "panels/frame_ram_panels.h"
#include "panels/frame_status.h"
#include "panels/frame_store.h"
#include "panels/led.h"
#include "panels/panel_widgets.h"
#include "panels/ram_rom_entry_form.h"
#include "panels/uart_terminal.h"
#include "shell/commands/run_speed.h"
#include "shell/settings/panel_limits.h"
#include "simulator/run_clock.h"
#include "simulator/simulation_session.h"

#include <QTcpServer>

using namespace korvo;
using namespace korvo::test;

namespace {

// Time that moves on at every look, and sleeps that only count: each sleep
// is followed by one yield of the run.
class TCountingClock : public IRunClock {
public:
    std::int64_t NowMilliseconds() override { return now_ += 7; }
    void Sleep(int) override { OnSleep(++sleeps_); }
    std::function<void(int sleeps)> OnSleep;

private:
    std::int64_t now_ = 0;
    int sleeps_ = 0;
};

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TFrameStatus& Status(TTestWindow& window) {
    return Panels(window).Status();
}

TFrameIOPanels& IOPanels(TTestWindow& window) {
    return Panels(window).IOPanels();
}

TFrameRAMPanels& MemoryPanels(TTestWindow& window) {
    return Panels(window).RAMPanels();
}

QList<int> Registers(TTestWindow& window, std::initializer_list<int> numbers) {
    QList<int> values;
    for (int n : numbers)
        values << Simulator(window).Register(n);
    return values;
}

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

// Name, core, register rows shown, the register of the last row.
using TRegisterRowsRow = std::tuple<const char*, TCoreKind, int, int>;
const TRegisterRowsRow kRegisterRowsRows[] = {{"PicoBlaze I", TCoreKind::pbtI, 16, 15},
                                              {"PicoBlaze II", TCoreKind::pbtII, 32, 31},
                                              {"PicoBlaze 3", TCoreKind::pbt3, 16, 15},
                                              {"PicoBlaze CR", TCoreKind::pbtC, 8, 7},
                                              {"PicoBlaze 6", TCoreKind::pbt6, 32, 15}};

// Name, scratch pad size setting, frames, cells enabled in the first.
using TScratchPadRow = std::tuple<const char*, int, int, int>;
const TScratchPadRow kScratchPadRows[] = {{"256 bytes", 5, 4, 64}, {"128 bytes", 4, 2, 64},
                                          {"64 bytes", 3, 1, 64},  {"16 bytes", 1, 1, 16},
                                          {"none", 0, 1, 0},       {"out of range", 9, 1, 64}};

} // namespace

class PanelsTest : public QObject {
    Q_OBJECT

private slots:
    void RegisterEditsGoInAtAStepOrOnEnter() {
        TTestWindow window;
        StartSimulation(window, "inc.psm", Lines({"ADD s3, 1", "loop: JUMP loop"}));
        TFrameStatus& status = Status(window);
        Type(status.RegisterEdits[1], "zz");  // not a number: 0
        Type(status.RegisterEdits[2], "1a5"); // cut to 8 bits
        Type(status.RegisterEdits[3], "41");
        Simulator(window).SetRegister(4, 0x77); // shown only at the end of a step
        Step(window);
        QCOMPARE(Registers(window, {1, 2, 3, 4}), QList<int>({0, 0xA5, 0x42, 0x77}));
        QStringList shown;
        for (int n = 1; n <= 4; ++n)
            shown << status.RegisterEdits[n]->text();
        QCOMPARE(shown, QStringList({"00", "A5", "42", "77"}));
        // Enter stores a register during a run.
        int duringRun = -1;
        DuringRun(window, 60, [&] {
            Type(status.RegisterEdits[5], "3c");
            QTest::keyClick(status.RegisterEdits[5], Qt::Key_Return);
            duringRun = Simulator(window).Register(5);
            Press(window, window->Commands().actPause);
        });
        Press(window, window->Commands().actRun);
        QCOMPARE(duringRun, 0x3C);
        QCOMPARE(status.RegisterEdits[5]->text(), "3C");
    }

    void FlagsAndTheInterrupt() {
        TTestWindow window;
        StartSimulation(window, "irq.psm",
                        Lines({"LOAD s0, 0", "ADD s0, 1", "EINT", "loop: JUMP loop",
                               "isr: RETI ENABLE", "ORG $3FF", "JUMP isr"}));
        TFrameStatus& status = Status(window);
        TPicoBlazeSimulator& simulator = Simulator(window);
        status.CheckZero->click();
        status.CheckCarry->click();
        QVERIFY(simulator.ZeroFlag() && simulator.CarryFlag());
        QVERIFY(status.actToggleZero->isChecked());
        status.CheckEnable->click();
        QVERIFY(simulator.InterruptEnable());
        status.CheckEnable->click();
        // A steady interrupt line makes the edge unavailable.
        status.CheckSteady->click();
        QVERIFY(simulator.InterruptLine());
        QVERIFY(!status.CheckEdge->isEnabled());
        status.CheckSteady->click();
        // LOAD keeps the flags; ADD clears both.
        Step(window);
        QVERIFY(status.CheckZero->isChecked());
        Step(window, 2);
        QVERIFY(!status.CheckZero->isChecked() && !status.CheckCarry->isChecked());
        QVERIFY(status.CheckEnable->isChecked());
        status.CheckEdge->click();
        QVERIFY(simulator.InterruptEdge());
        Step(window, 2); // sees the interrupt, enters it
        QCOMPARE(simulator.PC(), 0x3FF);
        QVERIFY(!status.CheckEdge->isChecked() && !status.CheckEnable->isChecked());
        QCOMPARE(window->StatusPanelText(7), " Stack: $03");
    }

    void TheTimerRaisesAnEdgeEvery51Yields() {
        TCountingClock clock;
        TTestWindow window;
        StartSimulation(window, "loop.psm", "loop: JUMP loop\r\n");
        Status(window).CheckTimer->click();
        TPicoBlazeSimulator& simulator = Simulator(window);
        simulator.SetRunClock(clock);
        // Sleep n comes before yield n, so it sees the edge after yield n - 1.
        QList<int> flips;
        bool edge = false;
        int pauseAt = 170;
        clock.OnSleep = [&](int sleeps) {
            if (simulator.InterruptEdge() != edge) {
                edge = !edge;
                flips << sleeps - 1;
            }
            if (sleeps == pauseAt) simulator.Pause();
        };
        Press(window, window->Commands().actRun);
        QCOMPARE(flips, QList<int>({1, 52, 103, 154}));
        // While the line is held up the timer leaves the edge alone.
        simulator.SetInterruptLine(true);
        flips.clear();
        pauseAt = 340;
        Press(window, window->Commands().actRun);
        simulator.SetRunClock(SystemRunClock());
        QCOMPARE(flips, QList<int>());
    }

    void RegisterRowsFollowTheCore_data() { AddRows(kRegisterRowsRows); }

    void RegisterRowsFollowTheCore() {
        const auto& [name, core, rows, last] = Row(kRegisterRowsRows);
        TTestWindow window;
        StartSimulation(window, "rows.psm", "loop: JUMP loop\r\n", core);
        TFrameStatus& status = Status(window);
        int visible = 0;
        for (int n = 0; n < TFrameStatus::kRegisterRows; ++n)
            visible += status.RegisterEdits[n]->isVisibleTo(&status) +
                       status.RegisterLabels[n]->isVisibleTo(&status);
        QCOMPARE(visible, 2 * rows);
        QCOMPARE(status.RegisterLabels[rows - 1]->text(),
                 QString::number(last, 16).toUpper() + ' ');
        QCOMPARE(status.BankHeaders[0]->isVisibleTo(&status), core == TCoreKind::pbt6);
    }

    // PicoBlaze 6: bank A in rows 0 to 15, bank B in rows 16 to 31, the
    // active one marked, the names and the change marks in both; a typed
    // value goes into its bank.
    void BothBanksShowAndTheActiveIsMarked() {
        TTestWindow window;
        StartSimulation(window, "banks.psm",
                        Lines({"total EQU s0", "LOAD total, $11", "STAR total, $22", "BANKB",
                               "loop: JUMP loop"}),
                        TCoreKind::pbt6);
        TFrameStatus& status = Status(window);
        QCOMPARE(status.BankHeaders[0]->text(), "Bank A (active)");
        QCOMPARE(status.RegisterLabels[0]->text(), "0 total");
        QCOMPARE(status.RegisterLabels[16]->text(), "0 total");
        QCOMPARE(status.RegisterLabels[17]->text(), "1 ");
        Step(window, 2);
        QCOMPARE(status.RegisterEdits[0]->text(), "11");
        QCOMPARE(status.RegisterEdits[16]->text(), "22");
        QVERIFY(TChangeMarks::IsMarked(*status.RegisterEdits[16]));
        QVERIFY(!TChangeMarks::IsMarked(*status.RegisterEdits[0]));
        Step(window, 1);
        QCOMPARE(status.BankHeaders[0]->text(), "Bank A");
        QCOMPARE(status.BankHeaders[1]->text(), "Bank B (active)");
        QVERIFY(status.BankHeaders[1]->font().bold());
        Type(status.RegisterEdits[17], "5C");
        QTest::keyClick(status.RegisterEdits[17], Qt::Key_Return);
        QCOMPARE(Simulator(window).BankRegister(1, 1), 0x5C);
        QCOMPARE(Simulator(window).BankRegister(0, 1), 0);
    }

    // The constant ports of OUTK that a PicoBlaze 6 program writes get
    // output frames of their own, after the ports.
    void ConstantPortsHaveFramesOfTheirOwn() {
        TTestWindow window;
        StartSimulation(window, "outk.psm",
                        Lines({"leds DSOUT $03", "OUTK $5A, 3", "OUTK 'k', 15", "loop: JUMP loop"}),
                        TCoreKind::pbt6);
        TFrameIOPanels& panels = IOPanels(window);
        QCOMPARE(panels.FrameCount(), 3);
        TFrameOutput* k3 = panels.ConstantFrame(3);
        QVERIFY(k3 && panels.ConstantFrame(15) && !panels.ConstantFrame(0));
        QCOMPARE(k3->PortLabel->text(), "K3");
        QCOMPARE(k3->GroupBox->title(), " OUTK ");
        Step(window, 2);
        QCOMPARE(k3->ValueLabel->text(), "$5A");
        QCOMPARE(panels.ConstantFrame(15)->ValueLabel->text(), "$6B");
        QCOMPARE(panels.OutputFrame(3)->ValueLabel->text(), "$00");
    }

    // The names a program gives registers show in their rows, a long one
    // cut short, and in full as the hint.
    void RegisterRowsShowTheirNames() {
        TTestWindow window;
        StartSimulation(
            window, "names.psm",
            Lines({"counter EQU s3", "the_longest_name_there_is EQU s4", "loop: ADD counter, 1"}));
        auto& labels = Status(window).RegisterLabels;
        QCOMPARE(labels[3]->toolTip() + '|' + labels[3]->text(), "counter|3 counter");
        QCOMPARE(labels[2]->toolTip() + '|' + labels[2]->text(), "|2 ");
        QVERIFY2(labels[4]->text().startsWith("4 the") && labels[4]->text().endsWith(QChar(0x2026)),
                 qPrintable(labels[4]->text()));
    }

    void SwitchesAreReadByInAndOutLightsLEDs() {
        // Two frames at a limit of two still take one column.
        TPanelLimits saved = std::exchange(ProcessPanelLimits(), TPanelLimits{2, 4});
        TTestWindow window;
        StartSimulation(window, "io.psm",
                        Lines({"sw DSIN $05", "leds DSOUT $06", "IN s0, sw", "OUT s0, leds",
                               "loop: JUMP loop"}));
        ProcessPanelLimits() = saved;
        QCOMPARE(IOPanels(window).widget()->width(), TFrameOutput::kWidth);
        TFrameInput* input = IOPanels(window).InputFrame(5);
        TFrameOutput* output = IOPanels(window).OutputFrame(6);
        QCOMPARE(input->GroupBox->title(), " sw ");
        for (int bit : {0, 3, 6, 3})
            input->Switches[bit]->click();
        QCOMPARE(input->ValueLabel->text(), "$41");
        Step(window, 2);
        QCOMPARE(Simulator(window).Register(0), 0x41);
        QList<bool> lit; // bit 0 first
        for (TLED* led : output->LEDs)
            lit << led->Lit();
        QCOMPARE(lit, QList<bool>({true, false, false, false, false, false, true, false}));
        QCOMPARE(output->ValueLabel->text(), "$41");
        // An output-only frame ignores clicks on its LEDs.
        emit output->LEDs[1]->Clicked(1);
        QCOMPARE(output->Model().Value(), 0x41);
        // The frames leave with the simulation.
        Press(window, window->Commands().actSimulate);
        QCOMPARE(IOPanels(window).FrameCount(), 0);
    }

    void OutValuesGoToALogFileWrittenAtReset() {
        TTestWindow window;
        StartSimulation(
            window, "log.psm",
            Lines({"leds DSOUT $06, \"out.log\"", "count DSOUT $07, \"fmt.log\", \"n=%3d %c\"",
                   "LOAD s0, $0A", "OUT s0, leds", "LOAD s0, $41", "OUT s0, leds", "OUT s0, count",
                   "loop: JUMP loop"}));
        Step(window, 5);
        QCOMPARE(window.Read("out.log"), ""); // written empty by the first reset
        Press(window, window->Commands().actReset);
        QCOMPARE(window.Read("out.log"), "$0A\r\n$41\r\n");
        QCOMPARE(window.Read("fmt.log"), "n= 65 A\r\n");
        // The next reset starts the file afresh; leaving Simulate mode writes
        // what was logged since.
        Step(window, 2);
        Press(window, window->Commands().actSimulate);
        QCOMPARE(window.Read("out.log"), "$0A\r\n");
    }

    void AStimulusFileFeedsSuccessiveReads() {
        TTestWindow window;
        window.File("in.txt", "3\r\n$10\r\nabc\r\n7\r\n");
        StartSimulation(window, "stim.psm",
                        Lines({"samples DSIN $00, \"in.txt\"", "IN s0, samples", "IN s1, samples",
                               "IN s2, samples", "IN s3, samples", "loop: JUMP loop"}));
        TFrameInput* input = IOPanels(window).InputFrame(0);
        QCOMPARE(input->ValueLabel->text(), "$03");
        Step(window, 4);
        QCOMPARE(window.Dialogs.Errors, QStringList({"abc is not an integer"}));
        QCOMPARE(Registers(window, {0, 1, 2, 3}), QList<int>({3, 0x10, 0x10, 7}));
        QCOMPARE(input->ValueLabel->text(), "$07");
        // Reset reads the file again.
        Press(window, window->Commands().actReset);
        QCOMPARE(input->ValueLabel->text(), "$03");
    }

    void ABadFormatIsReportedAtEachOutWhenSteppingAndOnceARun() {
        TTestWindow window;
        StartSimulation(window, "bad.psm",
                        Lines({"leds DSOUT $06, \"bad.log\", \"%q\"", "loop: OUT s0, leds",
                               "ADD s0, 1", "JUMP loop"}));
        const QString message = "Bad format specifier \"%q\" at port $06";
        Step(window, 4);
        QCOMPARE(window.Dialogs.Errors, QStringList({message, message}));
        // The value is set all the same.
        QCOMPARE(IOPanels(window).OutputFrame(6)->ValueLabel->text(), "$01");
        DuringRun(window, 60, [&] { Press(window, window->Commands().actPause); });
        Press(window, window->Commands().actRun);
        QCOMPARE(window.Dialogs.Errors.size(), 3);
        QVERIFY(Simulator(window).InstructionCount() > 100);
    }

    void TheUserChangesABidirectionalPort() {
        TTestWindow window;
        StartSimulation(window, "bidi.psm",
                        Lines({"both DSIO $07, \"io.log\", \"%d\"", "hidden DS $08",
                               "loop: IN s0, both", "JUMP loop"}));
        QCOMPARE(IOPanels(window).InOutFrame(8), nullptr); // DS ports have no frame
        TFrameOutput* frame = IOPanels(window).InOutFrame(7);
        emit frame->LEDs[3]->Clicked(3);
        QCOMPARE(frame->ValueLabel->text(), "$08");
        QVERIFY(frame->LEDs[3]->Lit());
        window.Dialogs.ValueTexts = {"1ff"};
        emit frame->ValueLabel->DoubleClicked(0);
        QCOMPARE(window.Dialogs.ValuesAsked, (QList<QPair<int, int>>{{7, 8}}));
        QCOMPARE(frame->ValueLabel->text(), "$FF");
        Step(window);
        QCOMPARE(Simulator(window).Register(0), 0xFF);
        Press(window, window->Commands().actReset);
        QCOMPARE(window.Read("io.log"), "8\r\n255\r\n");
    }

    void MemoryFramesFollowStoreAndOut() {
        TTestWindow window;
        StartSimulation(window, "mem.psm",
                        Lines({"cells DSRAM $10", "LOAD s0, $5A", "STORE s0, $03", "OUT s0, $12",
                               "loop: JUMP loop"}));
        TFrameRAMPanels& panels = MemoryPanels(window);
        QVERIFY(!window->RAMDockPanel->isHidden());
        QCOMPARE(panels.RAMFrame(1)->LabelRange->text(), "$10");
        Step(window, 3);
        QCOMPARE(panels.StoreFrame(0)->ValueLabel(3)->text(), "5A");
        QCOMPARE(panels.RAMFrame(1)->ValueLabel(2)->text(), "5A");
        // The frames go with the simulation, and the dock panel with them.
        Press(window, window->Commands().actSimulate);
        QCOMPARE(panels.StoreFrame(0), nullptr);
        QVERIFY(window->RAMDockPanel->isHidden());
    }

    void EditedBytesAreWhatTheProgramReads() {
        TTestWindow window;
        StartSimulation(
            window, "edit.psm",
            Lines({"table DSROM $20, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16",
                   "cells DSRAM $30", "IN s0, $21", "IN s1, $35", "FETCH s2, $07",
                   "loop: JUMP loop"}));
        TFrameRAMPanels& panels = MemoryPanels(window);
        TFrameRAM* rom = panels.ROMFrame(2);
        QCOMPARE(rom->ValueLabel(1)->text(), "02");
        window.Dialogs.ValueTexts = {"c3", "1ff", "zz"};
        emit rom->ValueLabel(1)->DoubleClicked(1);
        emit panels.RAMFrame(3)->ValueLabel(5)->DoubleClicked(5);
        panels.StoreFrame(0)->SetValue(7, 0x44);
        emit panels.StoreFrame(0)->ValueLabel(7)->DoubleClicked(7);
        QCOMPARE(window.Dialogs.ValuesAsked,
                 (QList<QPair<int, int>>{{0x21, 2}, {0x35, 0}, {0x07, 0x44}}));
        QCOMPARE(rom->ValueLabel(1)->text(), "C3");
        QCOMPARE(panels.RAMFrame(3)->ValueLabel(5)->text(), "FF");
        QCOMPARE(panels.StoreFrame(0)->ValueLabel(7)->text(), "00");
        Step(window, 3);
        QCOMPARE(Registers(window, {0, 1, 2}), QList<int>({0xC3, 0xFF, 0}));
        // A cancelled dialog changes nothing.
        emit rom->ValueLabel(1)->DoubleClicked(1);
        QCOMPARE(rom->ValueLabel(1)->text(), "C3");
    }

    void TheValueEntryDialog() {
        TRAMROMEntryForm form(0x05, 0x3C);
        QCOMPARE(form.AddressLabel->text() + ' ' + form.ValueEdit->text(), "05 3C");
        for (auto [text, value] :
             {std::pair{" ff ", 0xFF}, std::pair{"$10", 0}, std::pair{"123456789", 0}})
            QCOMPARE(TRAMROMEntryForm::ByteValue(text), value);
        form.ValueEdit->setText("7e");
        QCOMPARE(form.Value(), 0x7E);
    }

    void TheScratchPadSizeSettingDecidesTheFrames_data() { AddRows(kScratchPadRows); }

    void TheScratchPadSizeSettingDecidesTheFrames() {
        const auto& [name, setting, frameCount, enabledInFirst] = Row(kScratchPadRows);
        TTestWindow window;
        WriteInteger(window.Settings.Store(), "ScratchPad", "Size", setting);
        StartSimulation(window, "pad.psm", "loop: FETCH s0, $00\r\n JUMP loop\r\n");
        TFrameRAMPanels& panels = MemoryPanels(window);
        int frames = 0;
        for (int slot = 0; slot < 4; ++slot)
            frames += panels.StoreFrame(slot) != nullptr;
        QCOMPARE(frames, frameCount);
        TFrameStore& first = *panels.StoreFrame(0);
        int enabled = 0;
        for (int n = 0; n < first.ValueCount(); ++n)
            enabled += first.ValueLabel(n)->isEnabled();
        QCOMPARE(enabled, enabledInFirst);
    }

    void AFullScratchPadShowsInFourFramesOfPairedCells() {
        TTestWindow window;
        WriteInteger(window.Settings.Store(), "ScratchPad", "Size", 5);
        StartSimulation(window, "pad.psm",
                        Lines({"LOAD s0, $99", "STORE s0, $82", "loop: JUMP loop"}));
        QStringList captions;
        for (int k = 0; k < 4; ++k) {
            TFrameStore* frame = MemoryPanels(window).StoreFrame(k);
            captions << frame->GroupBox->title();
            for (int row = 0; row < 4; ++row)
                captions << frame->RangeLabel(row)->text();
        }
        QCOMPARE(captions.join(','), " ScratchPad0 ,$00,$10,$20,$30, ScratchPad1 ,$40,$50,$60,$70,"
                                     " ScratchPad2 ,$80,$90,$A0,$B0, ScratchPad3 ,$C0,$D0,$E0,$F0");
        Step(window, 2);
        QCOMPARE(MemoryPanels(window).StoreFrame(2)->GetValue(2), 0x99);
    }

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

        QCOMPARE(terminal.LineEnd->currentText(), "LF"); // what Enter sends unless chosen
        terminal.LineEnd->setCurrentIndex(2);            // CR LF
        terminal.Input->setText("Hello, picoblaze\x7f");
        emit terminal.Input->returnPressed();
        QCOMPARE(terminal.Input->text(), QString());
        DuringRun(window, 300, [&] { window->Commands().actPause->trigger(); });
        Press(window, window->Commands().actRun);
        QCOMPARE(terminal.Screen->toPlainText(), "HELLO, PICOBLAZE<7F><0D>\n");
        QCOMPARE(terminal.Counts->text(), "Sent 19, received 19, lost 0");
        terminal.HexView->setChecked(true); // sixteen bytes a line
        QCOMPARE(terminal.Screen->toPlainText(),
                 "48 45 4C 4C 4F 2C 20 50 49 43 4F 42 4C 41 5A 45\n7F 0D 0A");
        terminal.ClearButton->click();
        QCOMPARE(terminal.Screen->toPlainText(), QString());

        // A full input buffer refuses a line and keeps it.
        TUARTModel& uart = *window.Active().Session()->IO().UARTs()[0];
        uart.Feed(std::string(TUARTModel::kHostBufferSize, 'x'));
        terminal.Input->setText("more");
        emit terminal.Input->returnPressed();
        QCOMPARE(terminal.Input->text(), "more");
        QVERIFY(terminal.Counts->text().contains("Input refused"));
    }

    void AnimateFollowsEveryInstructionWithoutTcp() {
        TTestWindow window;
        settings::StoreUartTcpBridge(window.Settings.Store(), false);
        int first = LogCount(window);
        TDocument& document =
            StartSimulation(window, "echo.psm", EchoProgram(FreePort(), FreePort()));
        QCOMPARE(Panels(window).UartTerminals()[0]->TcpState->text(), "TCP: off");
        QVERIFY(LogSince(window, first).filter("listening").isEmpty());
        // The rate box counts only when animating.
        auto* rateBox = window->findChild<QSpinBox*>("animateRate");
        QVERIFY(rateBox && !rateBox->isEnabled());
        window->Commands().RunSpeed().actSpeedAnimate->trigger();
        QVERIFY(rateBox->isEnabled());
        window->Commands().RunSpeed().SetAnimateRate(50);
        bool following = false;
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

QTEST_MAIN(PanelsTest)
#include "panels_test.moc"
