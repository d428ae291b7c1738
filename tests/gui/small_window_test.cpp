// The window at its smallest: the first-start size on a 1280 by 800 screen,
// run at 100 % and at 200 % (QT_SCALE_FACTOR=2, where the screen is 640 by
// 400 device-independent pixels). Simulate mode must fit it.
#include "common/settings.h"
#include "gui_test_support.h"
#include "shell/app/status_bar_panel.h"
#include "shell/commands/core_selector.h"

using namespace korvo;
using namespace korvo::test;

namespace {

// Every kind of panel at once: status, I/O, memory and a UART terminal.
const std::string kAllPanels =
    Lines({"switches DSIN  $00", "leds     DSOUT $01", "rounds   DSIO  $02", "more     DSIN  $03",
           "ram      DSRAM $10", "serial   UART  $08, 4321", "loop:    IN    s0, switches",
           "         OUT   s0, leds", "         STORE s0, $00", "         JUMP  loop"});

// Whether the widget shows whole inside the window's client area.
bool ShownWhole(QWidget& window, QWidget* widget) {
    return widget->isVisible() && widget->height() > 0 &&
           window.rect().contains(QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size()));
}

} // namespace

class SmallWindowTest : public QObject {
    Q_OBJECT

private slots:
    void SimulateModeFitsTheFirstStartWindow() {
        TTestWindow window;
        WriteInteger(window.Settings.Store(), "UART", "TcpBridge", 0);
        window.Restart();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        QRect screen = window->screen()->availableGeometry();
        QVERIFY(screen.contains(window->frameGeometry()));
        QSize before = window->size();

        TDocument& document = StartSimulation(window, "panels.psm", kAllPanels);
        Settle(*window);
        QCOMPARE(window->size(), before);
        QVERIFY(screen.contains(window->frameGeometry()));
        // The panels scroll rather than push the log pane and the status bar
        // out of the window.
        QVERIFY(ShownWhole(*window, window->SimulationPanelScroll));
        QVERIFY(ShownWhole(*window, window->RAMDockScroll));
        QVERIFY(ShownWhole(*window, document.TextControl()));
        QVERIFY(ShownWhole(*window, window->LogPane()));
        QVERIFY(window->LogPane()->height() >= 3 * window->LogPane()->fontMetrics().height());
        QVERIFY(ShownWhole(*window, window->statusBar()));
        // The simulation texts of the status bar show whole.
        for (int i = 1; i < TMainWindowBase::kStatusPanelCount - 1; ++i) {
            TStatusBarPanel* panel = window->StatusPanels[i];
            QVERIFY2(panel->contentsRect().width() >
                         panel->fontMetrics().horizontalAdvance(panel->text()),
                     qPrintable(panel->text()));
        }
        // The core list stays in the tool bar, not behind its overflow arrow.
        QVERIFY(ShownWhole(*window, window->CoreSelector->ToolBarList));

        // A view closed comes back from the View menu.
        window->CodeMemoryDock->close();
        Settle(*window);
        QVERIFY(!window->actViewCodeMemory->isChecked());
        QVERIFY(Press(window, window->actViewCodeMemory));
        QVERIFY(window->CodeMemoryDock->isVisible());
        Press(window, window->actViewIoPanels);
        QVERIFY(window->SimulationPanelScroll->isHidden());
        Press(window, window->actViewIoPanels);
        QVERIFY(window->SimulationPanelScroll->isVisible());
        emit window->mnuViewUarts->aboutToShow();
        QCOMPARE(window->mnuViewUarts->actions().size(), 1);
        QAction* terminal = window->mnuViewUarts->actions().first();
        QCOMPARE(terminal->text(), "UART $08");
        terminal->trigger();
        QVERIFY(window->RAMDockScroll->isVisible() && Panels(window).UartPanel().isHidden());
        terminal->trigger();
        QVERIFY(Panels(window).UartPanel().isVisible());

        Press(window, window->Commands().actSimulate);
        Settle(*window);
        QCOMPARE(document.Mode(), dmEdit);
        QCOMPARE(window->size(), before);
    }
};

QTEST_MAIN(SmallWindowTest)
#include "small_window_test.moc"
