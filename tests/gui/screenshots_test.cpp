// Takes the screenshots of docs/screenshots when KORVO_SCREENSHOT_DIR names
// a folder (tools/screenshots.sh runs it under Xvfb); skipped otherwise.
#include "base/theme.h"
#include "common/settings.h"
#include "common/text_file.h"
#include "gui_test_support.h"
#include "panels/frame_input.h"
#include "panels/frame_io_panels.h"
#include "panels/simulation_panels.h"
#include "panels/uart_terminal.h"
#include "shell/commands.h"
#include "simulator/debugger.h"

#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <QDir>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

class ScreenshotsTest : public QObject {
    Q_OBJECT

private:
    QString folder_;

    // Lets the window paint; unlike QTest::qWait also inside a run's yield.
    static void WaitAndPaint(int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    void Save(QWidget& widget, const QString& name) {
        WaitAndPaint(200);
        QString suffix = qEnvironmentVariable("KORVO_SCREENSHOT_SUFFIX");
        QString file = QDir(folder_).filePath(name + suffix + ".png");
        QVERIFY2(widget.grab().save(file), qPrintable(file));
    }

    // Shows the window at a size after F12 on the active document.
    static void ShowSimulating(TTestWindow& window, QSize size, TDocumentMode mode = dmSimulate) {
        window->resize(size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        window->UpdateCommands();
        window->Commands().actSimulate->trigger();
        window->UpdateCommands();
        QCOMPARE(window.Active().Mode(), mode);
    }

private slots:
    void initTestCase() {
        folder_ = qEnvironmentVariable("KORVO_SCREENSHOT_DIR");
        if (folder_.isEmpty()) QSKIP("KORVO_SCREENSHOT_DIR is not set");
        QDir().mkpath(folder_);
    }

    void MainWindow() {
        TTestWindow window({QStringLiteral(KORVO_EXAMPLES_DIR "/blink.psm"),
                            QStringLiteral(KORVO_EXAMPLES_DIR "/walking_leds.psm")});
        window->resize(982, 644);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        window.Active().SetCaretPos({10, 21});
        window->UpdateCommands();
        Save(*window, "main-window");
    }

    void SimulateMode() {
        TTestWindow window({QStringLiteral(KORVO_EXAMPLES_DIR "/walking_leds.psm")});
        ShowSimulating(window, {982, 644});
        // A breakpoint on the CALL line.
        auto* text = window.Active().TextControl();
        emit text->marginClicked(TSourceEditor::kGlyphMargin, 14, Qt::NoModifier);
        window->UpdateCommands();
        Save(*window, "simulate-mode");
    }

    void RunningSimulation() {
        TTestWindow window;
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        window->OpenDocument(QStringLiteral(KORVO_EXAMPLES_DIR "/control_panel_pbt3.psm"));
        ShowSimulating(window, {1180, 760});
        auto& panels = window->Commands().SimulationPanels();
        TFrameInput* switches = panels.IOPanels().InputFrame(0);
        QVERIFY(switches);
        for (int bit : {1, 2, 4, 5, 7})
            switches->Switches[bit]->click();
        window->UpdateCommands();
        // The picture is taken in a yield of the run; then the run pauses.
        QTimer::singleShot(700, &*window, [&] {
            Save(*window, "running-simulation");
            window->Commands().actPause->trigger();
        });
        window->Commands().actRun->trigger();
        QCOMPARE(window.Active().Simulator()->State(), ssPaused);
    }

    // Blink stepped into its delay routine: the code memory and call stack
    // views, the register names and the values the last step changed.
    void SimulationViews() {
        TTestWindow window;
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        window->OpenDocument(QStringLiteral(KORVO_EXAMPLES_DIR "/blink.psm"));
        ShowSimulating(window, {1180, 760});
        emit window.Active().TextControl()->marginClicked(TSourceEditor::kGlyphMargin, 30, {});
        for (int step = 0; step < 6; ++step)
            window->Commands().actStepOne->trigger();
        window->UpdateCommands();
        Save(*window, "simulation-views");
    }

    // The dark theme in Simulate mode: editor, listing, LEDs and panels.
    void DarkTheme() {
        TTestWindow window;
        window.Close();
        WriteInteger(window.Settings.Store(), "Options", "Theme", 2);
        window.Restart();
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        window->OpenDocument(QStringLiteral(KORVO_EXAMPLES_DIR "/control_panel_pbt3.psm"));
        ShowSimulating(window, {1180, 760});
        for (int bit : {0, 3, 6})
            window->Commands().SimulationPanels().IOPanels().InputFrame(0)->Switches[bit]->click();
        window->UpdateCommands();
        QTimer::singleShot(500, &*window, [&] { window->Commands().actPause->trigger(); });
        window->Commands().actRun->trigger();
        window->UpdateCommands();
        Save(*window, "dark-theme");
        window.Close();
        ApplyTheme(settings::TThemeChoice::Light);
    }

    void UartTerminal() {
        TTestWindow window;
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        window->OpenDocument(QStringLiteral(KORVO_EXAMPLES_DIR "/uart_echo_pbt3.psm"));
        window->resize(1180, 720);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        window->UpdateCommands();
        window->Commands().actSimulate->trigger();
        QCOMPARE(window.Active().Mode(), dmSimulate);
        TFrameUartTerminal* terminal = window->Commands().SimulationPanels().UartTerminals()[0];
        for (const char* line : {"hello, picoblaze", "Typed lines come back in upper case."}) {
            terminal->Input->setText(line);
            emit terminal->Input->returnPressed();
        }
        terminal->LineEnd->setCurrentIndex(2); // CR LF, shown as <0D>
        terminal->Input->setText("tab\there");
        emit terminal->Input->returnPressed();
        window->UpdateCommands();
        QTimer::singleShot(300, &*window, [&] { window->Commands().actPause->trigger(); });
        window->Commands().actRun->trigger();
        terminal->Input->setText("next line");
        Save(*window, "uart-terminal");
    }

    void ErrorsMode() {
        TTestWindow window;
        // The walking LEDs with two mistakes: a misspelt label and a register
        // PicoBlaze I does not have.
        auto lines = ReadTextLines(KORVO_EXAMPLES_DIR "/walking_leds.psm");
        for (auto& line : lines) {
            if (line.find("CALL      wait") != std::string::npos)
                line.replace(line.find("wait"), 4, "wiat");
            if (line.find("OR        s3, s0") != std::string::npos)
                line.replace(line.find("s3, s0"), 6, "s3, s1F");
        }
        QString file =
            WriteFile(window.Settings.Folder(), "walking_leds.psm", JoinLinesCrLf(lines));
        window->OpenDocument(file);
        ShowSimulating(window, {982, 644}, dmErrors);
        Save(*window, "errors-mode");
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
