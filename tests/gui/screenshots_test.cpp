// Takes the screenshots of docs/screenshots when KORVO_SCREENSHOT_DIR names
// a folder (tools/screenshots.sh runs it under Xvfb); skipped otherwise.
#include "base/theme.h"
#include "common/settings.h"
#include "common/settings_layout.h"
#include "gui_test_support.h"
#include "panels/frame_input.h"
#include "panels/frame_io_panels.h"
#include "panels/uart_terminal.h"
#include "shell/app/help_window.h"
#include "shell/settings/chain_list.h"
#include "shell/settings/chip_dialog.h"
#include "shell/settings/settings_dialog.h"
#include "shell/settings/settings_jtag_page.h"

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

    // Shows the window at that size with the file open for the core, and
    // presses F12 unless the mode stays dmEdit.
    static void Show(TTestWindow& window, QSize size, const QString& file, TCoreKind core,
                     TDocumentMode mode) {
        window->Commands().CoreAction(core)->trigger();
        window->OpenDocument(file);
        window->resize(size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        if (mode != dmEdit) Press(window, window->Commands().actSimulate);
        QCOMPARE(window.Active().Mode(), mode);
    }

private slots:
    void initTestCase() {
        folder_ = qEnvironmentVariable("KORVO_SCREENSHOT_DIR");
        if (folder_.isEmpty()) QSKIP("KORVO_SCREENSHOT_DIR is not set");
        QDir().mkpath(folder_);
    }

    void MainWindow() {
        TTestWindow window({QStringLiteral(KORVO_EXAMPLES_DIR "/blink.psm")});
        Show(window, {982, 644}, KORVO_EXAMPLES_DIR "/walking_leds.psm", TCoreKind::pbtI, dmEdit);
        window.Active().SetCaretPos({10, 21});
        window->UpdateCommands();
        Save(*window, "main-window");
    }

    void SimulateMode() {
        TTestWindow window;
        Show(window, {982, 644}, KORVO_EXAMPLES_DIR "/walking_leds.psm", TCoreKind::pbtI,
             dmSimulate);
        // A breakpoint on the CALL line.
        auto* text = window.Active().TextControl();
        emit text->marginClicked(TSourceEditor::kGlyphMargin, 14, Qt::NoModifier);
        window->UpdateCommands();
        Save(*window, "simulate-mode");
    }

    void RunningSimulation() {
        TTestWindow window;
        Show(window, {1180, 760}, KORVO_EXAMPLES_DIR "/control_panel_pbt3.psm", TCoreKind::pbt3,
             dmSimulate);
        TFrameInput* switches = Panels(window).IOPanels().InputFrame(0);
        QVERIFY(switches);
        for (int bit : {1, 2, 4, 5, 7})
            switches->Switches[bit]->click();
        window->UpdateCommands();
        // The picture is taken in a yield of the run; then the run pauses.
        DuringRun(window, 700, [&] {
            Save(*window, "running-simulation");
            window->Commands().actPause->trigger();
        });
        Press(window, window->Commands().actRun);
        QCOMPARE(Simulator(window).State(), ssPaused);
    }

    // Blink stepped into its delay routine: the code memory and call stack
    // views, the register names and the values the last step changed.
    void SimulationViews() {
        TTestWindow window;
        Show(window, {1180, 760}, KORVO_EXAMPLES_DIR "/blink.psm", TCoreKind::pbt3, dmSimulate);
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
        Show(window, {1180, 760}, KORVO_EXAMPLES_DIR "/control_panel_pbt3.psm", TCoreKind::pbt3,
             dmSimulate);
        for (int bit : {0, 3, 6})
            Panels(window).IOPanels().InputFrame(0)->Switches[bit]->click();
        window->UpdateCommands();
        DuringRun(window, 500, [&] { window->Commands().actPause->trigger(); });
        Press(window, window->Commands().actRun);
        window->UpdateCommands();
        Save(*window, "dark-theme");
        window.Close();
        ApplyTheme(settings::TThemeChoice::Light);
    }

    void UartTerminal() {
        TTestWindow window;
        Show(window, {1180, 720}, KORVO_EXAMPLES_DIR "/uart_echo_pbt3.psm", TCoreKind::pbt3,
             dmSimulate);
        TFrameUartTerminal* terminal = Panels(window).UartTerminals()[0];
        for (const char* line : {"hello, picoblaze", "Typed lines come back in upper case."}) {
            terminal->Input->setText(line);
            emit terminal->Input->returnPressed();
        }
        terminal->LineEnd->setCurrentIndex(2); // CR LF, shown as <0D>
        terminal->Input->setText("tab\there");
        emit terminal->Input->returnPressed();
        window->UpdateCommands();
        DuringRun(window, 300, [&] { window->Commands().actPause->trigger(); });
        Press(window, window->Commands().actRun);
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
        Show(window, {982, 644}, window.File("walking_leds.psm", JoinLinesCrLf(lines)),
             TCoreKind::pbtI, dmErrors);
        Save(*window, "errors-mode");
    }

    void SettingsPages() {
        TTemporarySettings settings;
        settings::StoreScanChain(
            settings.Store(),
            {{{"XC2C64", "8", "06E5E093", "0001", "0002"},
              {"XCF02S", "8", "05045093", "00FE", "00FD"}},
             settings::TScanTarget{{"Spartan-3", "6", "11414093", "0009", "0002"}, 19, 8, true},
             {{"XC3S200", "6", "01414093", "0009", "0002"}}});
        settings.Store().WriteValue("Editor", "FontName", "DejaVu Sans Mono");
        settings.Store().WriteValue("Time", "Frequency", "50");
        TStringListLog log;
        TPanelLimits limits;
        TdlgSettings dialog(settings.Store(), TCoreKind::pbt3, log, limits);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const std::array<const char*, 4> names{"format", "layout", "jtag", "misc"};
        for (int page = 0; page < 4; ++page) {
            Child<QTabWidget>(dialog, "pages")->setCurrentIndex(page);
            if (page == TdlgSettings::pgJtag) dialog.JtagPage()->BeforeList()->SelectRow(0);
            Save(dialog, QStringLiteral("settings-") + names[page]);
        }
        TdlgNewChip chip(&dialog);
        chip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chip));
        Save(chip, "chip-info");
    }

    // The first-start window of 600 by 400 in Simulate mode, and the manual.
    void SmallestWindowAndManual() {
        TTestWindow window;
        window->move(0, 0);
        Show(window, {600, 400}, KORVO_EXAMPLES_DIR "/control_panel_pbt3.psm", TCoreKind::pbt3,
             dmSimulate);
        Save(*window, "smallest-window");
        ShowManual();
        QVERIFY(QTest::qWaitForWindowExposed(ManualBrowser()));
        ManualBrowser()->resize(700, 500);
        ShowManual("menu-simulate");
        Save(*ManualBrowser(), "manual");
        ManualBrowser()->close();
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
