// The status panel on a real simulation: register edits go into the
// simulator when a run starts (and on Enter, also during a run), the flag
// check boxes and the simulator follow each other, the timer raises an
// interrupt edge every 51 yields, register rows follow the core, and the
// clock frequency setting gives the time in the status bar.
#include "common/settings.h"
#include "gui_test_support.h"
#include "panels/frame_status.h"
#include "panels/simulation_panels.h"
#include "shell/commands.h"
#include "shell/editor.h"
#include "shell/main_window.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"
#include "simulator/run_clock.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

const char* kIncrement = "        ADD   s3, 1\r\n"
                         "loop:   JUMP  loop\r\n";

// Time that moves on at every look, and sleeps that only count: each sleep
// is followed by one yield of the run.
class TCountingClock : public IRunClock {
public:
    std::int64_t NowMilliseconds() override { return now_ += 7; }
    void Sleep(int) override {
        ++Sleeps;
        if (OnSleep) OnSleep(Sleeps);
    }
    int Sleeps = 0;
    std::function<void(int sleeps)> OnSleep;

private:
    std::int64_t now_ = 0;
};

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class StatusPanelTest : public QObject {
    Q_OBJECT

private slots:
    void RegisterEditsGoInWhenARunStarts() {
        TTestWindow window;
        StartSimulation(window, "inc.psm", kIncrement);
        TFrameStatus& status = Panels(window).Status();
        Type(status.RegisterEdits[1], "zz");  // not a number: 0
        Type(status.RegisterEdits[2], "1a5"); // cut to 8 bits
        Type(status.RegisterEdits[3], "41");
        Simulator(window).SetRegister(4, 0x77); // shown only at the end of a step
        QVERIFY(Press(window, window->Commands().actStepOne));
        TPicoBlazeDebugger& simulator = Simulator(window);
        QCOMPARE(simulator.Register(1), 0);
        QCOMPARE(simulator.Register(2), 0xA5);
        QCOMPARE(simulator.Register(3), 0x42);
        QCOMPARE(simulator.Register(4), 0x77);
        QCOMPARE(status.RegisterEdits[1]->text(), QString("00"));
        QCOMPARE(status.RegisterEdits[2]->text(), QString("A5"));
        QCOMPARE(status.RegisterEdits[3]->text(), QString("42"));
        QCOMPARE(status.RegisterEdits[4]->text(), QString("77"));
    }

    void EnterStoresARegisterDuringARun() {
        TTestWindow window;
        StartSimulation(window, "loop.psm", "loop: JUMP loop\r\n");
        TFrameStatus& status = Panels(window).Status();
        std::int32_t duringRun = -1;
        DuringRun(window, 60, [&] {
            Type(status.RegisterEdits[5], "3c");
            QTest::keyClick(status.RegisterEdits[5], Qt::Key_Return);
            duringRun = Simulator(window).Register(5);
            Press(window, window->Commands().actPause);
        });
        Press(window, window->Commands().actRun);
        QCOMPARE(duringRun, 0x3C);
        QCOMPARE(status.RegisterEdits[5]->text(), QString("3C"));
    }

    void FlagsAndCheckBoxesFollowEachOther() {
        TTestWindow window;
        StartSimulation(window, "flags.psm", "        LOAD s0, 0\r\n        ADD s0, 1\r\n");
        TFrameStatus& status = Panels(window).Status();
        TPicoBlazeDebugger& simulator = Simulator(window);
        status.CheckZero->click();
        status.CheckCarry->click();
        QVERIFY(simulator.ZeroFlag());
        QVERIFY(simulator.CarryFlag());
        QVERIFY(status.actToggleZero->isChecked());
        status.CheckEnable->click();
        QVERIFY(simulator.InterruptEnable());
        // A steady interrupt line makes the edge unavailable.
        status.CheckSteady->click();
        QVERIFY(simulator.InterruptLine());
        QVERIFY(!status.CheckEdge->isEnabled());
        status.CheckSteady->click();
        QVERIFY(status.CheckEdge->isEnabled());
        status.CheckEnable->click();
        // LOAD keeps the flags; ADD clears both.
        Press(window, window->Commands().actStepOne);
        QVERIFY(status.CheckZero->isChecked());
        Press(window, window->Commands().actStepOne);
        QVERIFY(!status.CheckZero->isChecked());
        QVERIFY(!status.CheckCarry->isChecked());
        QCOMPARE(status.CheckZero->toolTip(), QString("State of ZERO flag"));
        QCOMPARE(status.actToggleZero->shortcut(), QKeySequence(Qt::Key_Z));
    }

    void AnEdgeEntersTheInterruptRoutine() {
        TTestWindow window;
        StartSimulation(window, "irq.psm",
                        "        EINT\r\n"
                        "loop:   JUMP loop\r\n"
                        "isr:    RETI ENABLE\r\n"
                        "        ORG $3FF\r\n"
                        "        JUMP isr\r\n");
        TFrameStatus& status = Panels(window).Status();
        Press(window, window->Commands().actStepOne);
        QVERIFY(status.CheckEnable->isChecked());
        status.CheckEdge->click();
        QVERIFY(Simulator(window).InterruptEdge());
        Press(window, window->Commands().actStepOne); // sees the interrupt
        Press(window, window->Commands().actStepOne); // enters it
        QCOMPARE(Simulator(window).PC(), 0x3FF);
        QVERIFY(!status.CheckEdge->isChecked());
        QVERIFY(!status.CheckEnable->isChecked());
        QCOMPARE(window->StatusPanelText(7), QString(" Stack: $01"));
    }

    void TheTimerRaisesAnEdgeEvery51Yields() {
        TCountingClock clock;
        TTestWindow window;
        StartSimulation(window, "loop.psm", "loop: JUMP loop\r\n");
        TFrameStatus& status = Panels(window).Status();
        QCOMPARE(status.TimerEdit->value(), 50);
        QCOMPARE(status.TimerEdit->singleStep(), 10);
        QCOMPARE(status.TimerEdit->minimum(), 1);
        QCOMPARE(status.TimerEdit->maximum(), 1000);
        status.CheckTimer->click();
        TPicoBlazeDebugger& simulator = Simulator(window);
        simulator.SetRunClock(clock);
        // Sleep n comes before yield n, so it sees the edge after yield n - 1.
        QList<int> flips;
        bool edge = false;
        clock.OnSleep = [&](int sleeps) {
            if (simulator.InterruptEdge() != edge) {
                edge = !edge;
                flips << sleeps - 1;
            }
            if (sleeps == 170) simulator.Pause();
        };
        Press(window, window->Commands().actRun);
        simulator.SetRunClock(SystemRunClock());
        QCOMPARE(flips, QList<int>({1, 52, 103, 154}));
        QCOMPARE(simulator.State(), ssPaused);
    }

    void RegisterRowsFollowTheCore() {
        struct TCase {
            TCoreKind Core;
            int Rows;
        };
        for (TCase c : {TCase{TCoreKind::pbtI, 16}, TCase{TCoreKind::pbtII, 32},
                        TCase{TCoreKind::pbt3, 16}, TCase{TCoreKind::pbtC, 8}}) {
            TTestWindow window;
            StartSimulation(window, "rows.psm", "loop: JUMP loop\r\n", c.Core);
            TFrameStatus& status = Panels(window).Status();
            int visible = 0;
            for (QLineEdit* edit : status.RegisterEdits)
                visible += edit->isVisibleTo(&status);
            QCOMPARE(visible, c.Rows);
            QCOMPARE(status.RegisterLabels[c.Rows - 1]->text(),
                     QString::number(c.Rows - 1, 16).toUpper() + ' ');
        }
    }

    // The names a program gives registers show in their rows, a long one
    // cut short, and in full as the hint.
    void RegisterRowsShowTheirNames() {
        TTestWindow window;
        StartSimulation(window, "names.psm",
                        "counter EQU s3\r\nthe_longest_name_there_is EQU s4\r\n"
                        "loop: ADD counter, 1\r\n");
        TFrameStatus& status = Panels(window).Status();
        QCOMPARE(status.RegisterLabels[3]->toolTip(), QString("counter"));
        QCOMPARE(status.RegisterLabels[3]->text(), QString("3 counter"));
        QCOMPARE(status.RegisterLabels[2]->toolTip(), QString());
        QCOMPARE(status.RegisterLabels[2]->text(), QString("2 "));
        QString longName = status.RegisterLabels[4]->text();
        QVERIFY2(longName.startsWith("4 the") && longName.endsWith(QChar(0x2026)),
                 qPrintable(longName));
    }

    void TheFrequencySettingGivesTheTime() {
        struct TCase {
            const char* Frequency;
            const char* Time;
        };
        for (TCase c : {TCase{"40", " Time : 50ns"}, TCase{"$64", " Time : 20ns"},
                        TCase{"", " Time : 25ns"}, TCase{"fast", " Time : 25ns"}}) {
            TTestWindow window;
            WriteString(window.Settings.Store(), "Time", "Frequency", c.Frequency);
            StartSimulation(window, "time.psm", kIncrement);
            Press(window, window->Commands().actStepOne);
            QCOMPARE(window->StatusPanelText(4), QString(c.Time));
        }
    }
};

QTEST_MAIN(StatusPanelTest)
#include "status_panel_test.moc"
