// What a step or run changed is marked in the panels; the code memory and
// the call stack show the program being simulated.
#include "panels/call_stack_view.h"
#include "panels/code_memory_view.h"
#include "panels/frame_io_panels.h"
#include "panels/frame_output.h"
#include "panels/frame_ram_panels.h"
#include "panels/frame_status.h"
#include "panels/frame_store.h"
#include "panels/panel_widgets.h"
#include "panels/simulation_panels.h"
#include "shell/commands.h"
#include "shell/editor.h"
#include "shell/main_window.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

class SimulationViewsTest : public QObject {
    Q_OBJECT

private slots:
    void ChangedValuesAreMarkedUntilTheNextStep() {
        TTestWindow window;
        StartSimulation(window, "marks.psm",
                        "leds DSOUT $01\r\nstart: LOAD s1, 5\r\nSTORE s1, 3\r\nOUT s1, leds\r\n"
                        "ADD s1, 251\r\nJUMP start\r\n");
        TSimulationPanels& panels = Panels(window);
        TFrameStatus& status = panels.Status();
        QWidget* cell = panels.RAMPanels().StoreFrame(0)->ValueLabel(3);
        QWidget* port = panels.IOPanels().OutputFrame(1)->ValueLabel;
        const QList<QWidget*> watched{status.RegisterEdits[1], status.RegisterEdits[0], cell, port,
                                      status.CheckZero,        status.CheckCarry};
        // Which of the watched widgets each step leaves marked.
        const QList<QList<bool>> afterStep{{true, false, false, false, false, false},
                                           {false, false, true, false, false, false},
                                           {false, false, false, true, false, false},
                                           {true, false, false, false, true, true}};
        for (int step = 0; step < afterStep.size(); ++step) {
            Press(window, window->Commands().actStepOne);
            for (int i = 0; i < watched.size(); ++i)
                QVERIFY2(TChangeMarks::IsMarked(*watched[i]) == afterStep[step][i],
                         qPrintable(QStringLiteral("step %1, widget %2").arg(step).arg(i)));
        }
    }

    void CodeMemoryAndCallStackFollowTheProgram() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        TEditor& document = StartSimulation(
            window, "calls.psm",
            "start: CALL routine\r\n  JUMP start\r\nroutine: LOAD s0, $12\r\n  RET\r\n");
        QVERIFY(window->CodeMemoryDock->isVisible() && window->CallStackDock->isVisible());
        TCodeMemoryView& code = Panels(window).CodeMemory();
        QCOMPARE(code.model()->rowCount(), 1024);
        const QStringList row0{"\u25B6", "$000", "$30002", "start", "CALL $002"};
        for (int column = 0; column < row0.size(); ++column)
            QCOMPARE(code.CellText(0, TCodeMemoryView::TColumn(column)), row0[column]);
        QCOMPARE(code.CellText(4, TCodeMemoryView::colInstruction), QString());

        Press(window, window->Commands().actStepOne);
        QCOMPARE(code.CellText(2, TCodeMemoryView::colMark), QString("\u25B6"));
        QCOMPARE(code.CellText(0, TCodeMemoryView::colMark), QString());
        TCallStackView& stack = Panels(window).CallStack();
        QCOMPARE(stack.topLevelItemCount(), 1);
        QCOMPARE(stack.topLevelItem(0)->text(0), QString("$001"));
        QCOMPARE(stack.topLevelItem(0)->text(1), QString("start+1"));
        QCOMPARE(stack.topLevelItem(0)->text(2), QString("line 2: JUMP start"));

        // A click in the mark column sets a breakpoint, a double click goes
        // to the source line.
        QRect mark = code.visualRect(code.model()->index(3, TCodeMemoryView::colMark));
        QTest::mouseClick(code.viewport(), Qt::LeftButton, Qt::NoModifier, mark.center());
        QVERIFY(Simulator(window).LineInfo(4) & liBreakpoint);
        QCOMPARE(code.CellText(3, TCodeMemoryView::colMark), QString("\u25CF"));
        QRect word = code.visualRect(code.model()->index(1, TCodeMemoryView::colWord));
        QTest::mouseClick(code.viewport(), Qt::LeftButton, Qt::NoModifier, word.center());
        QTest::mouseDClick(code.viewport(), Qt::LeftButton, Qt::NoModifier, word.center());
        QCOMPARE(document.GetCaretPos().Line, 2);

        Press(window, window->Commands().actSimulate);
        QVERIFY(!window->CodeMemoryDock->isVisible());
        QCOMPARE(stack.topLevelItemCount(), 0);
    }
};

QTEST_MAIN(SimulationViewsTest)
#include "simulation_views_test.moc"
