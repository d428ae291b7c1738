// The simulation commands on a real simulation: F12, Step One, Run to a
// breakpoint, Pause during an endless run, Reset, To Cursor, Step Over a
// CALL, a halt, the enabling of every command in each state, and what may
// happen from inside a run (leaving Simulate mode, closing the document,
// clearing breakpoints).
#include "common/settings.h"
#include "gui_test_support.h"
#include "panels/frame_status.h"
#include "panels/simulation_panels.h"
#include "shell/commands.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/icons.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

const char* kSteps = "        LOAD  s0, $2A\r\n"
                     "        ADD   s0, 1\r\n"
                     "loop:   JUMP  loop\r\n";

const char* kCounting = "; counts up to five\r\n"
                        "        LOAD  s0, 0\r\n"
                        "loop:   ADD   s0, 1\r\n"
                        "        COMP  s0, 5\r\n"
                        "        JUMP  NZ, loop\r\n"
                        "done:   JUMP  done\r\n";

const char* kEndless = "loop:   JUMP  loop\r\n"
                       "        LOAD  s1, 1\r\n";

const char* kCall = "        CALL  routine\r\n"
                    "back:   LOAD  s2, 2\r\n"
                    "done:   JUMP  done\r\n"
                    "routine: LOAD s1, 7\r\n"
                    "        RET\r\n";

QString RegisterText(TTestWindow& window, int n) {
    return Panels(window).Status().RegisterEdits[n]->text();
}

// The simulation commands that are enabled, by name.
QStringList EnabledCommands(TTestWindow& window) {
    window->UpdateCommands();
    auto& c = window->Commands();
    QStringList enabled;
    for (QAction* command : {c.actSimulate, c.actReset, c.actRun, c.actStepOne, c.actStepOver,
                             c.actGotoCursor, c.actPause, c.actSetBreakpoint, c.actClearBreakpoints,
                             c.CoreAction(TCoreKind::pbtI), c.CoreAction(TCoreKind::pbt3)})
        if (command->isEnabled()) enabled << command->objectName().mid(3);
    return enabled;
}

const QStringList kPausedCommands = {"Simulate", "Reset",      "Run",          "StepOne",
                                     "StepOver", "GotoCursor", "SetBreakpoint"};

} // namespace

class SimulationCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void F12BuildsThePanelsAndPausesAtAddressZero() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "steps.psm", kSteps);
        TFrameStatus& status = Panels(window).Status();
        QCOMPARE(status.Simulator(), document.Simulator());
        QCOMPARE(status.parentWidget(), window->SimulationPanelArea);
        QVERIFY(!window->SimulationPanelArea->isHidden());
        QCOMPARE(document.CurrentLine(), 1);
        QCOMPARE(RegisterText(window, 0), QString("00"));
        // F12 again: back to Edit mode, the panels leave the window.
        Press(window, window->Commands().actSimulate);
        QCOMPARE(document.Mode(), dmEdit);
        QCOMPARE(status.Simulator(), nullptr);
        QCOMPARE(status.parentWidget(), nullptr);
        QVERIFY(window->SimulationPanelArea->isHidden());
        // And once more: a new simulation logs its reset and binds the panels again.
        int logStart = LogCount(window);
        Press(window, window->Commands().actSimulate);
        QCOMPARE(document.Mode(), dmSimulate);
        QCOMPARE(LogSince(window, logStart).last(), QString("!Program is Reset"));
        QCOMPARE(status.Simulator(), document.Simulator());
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), QString("2A"));
    }

    void ViewCoverageColoursExecutedAndNeverExecutedLines() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "endless.psm", kEndless);
        QVERIFY(Press(window, window->Commands().actStepOne));
        auto* text = document.TextControl();
        QCOMPARE(text->CoverageMarkAt(0), std::nullopt);
        QVERIFY(Press(window, window->actViewCoverage));
        QCOMPARE(text->CoverageMarkAt(0), std::optional(true));
        QCOMPARE(text->CoverageMarkAt(1), std::optional(false));
        QVERIFY(Press(window, window->actViewCoverage));
        QCOMPARE(text->CoverageMarkAt(1), std::nullopt);
    }

    void AssemblingAgainInSimulateModeStartsAFreshSimulation() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "steps.psm", kSteps);
        Press(window, window->Commands().actStepOne);
        document.SetMode(dmSimulate);
        QCOMPARE(document.Mode(), dmSimulate);
        QCOMPARE(Panels(window).Simulator(), document.Simulator());
        QCOMPARE(Simulator(window).PC(), 0);
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), QString("2A"));
    }

    void StepOneUpdatesRegistersAndStatusWithoutLogging() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "steps.psm", kSteps);
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), QString("2A"));
        QCOMPARE(window->StatusPanelText(3), QString(" Instructions: 1"));
        QCOMPARE(window->StatusPanelText(4), QString(" Time : 25ns"));
        QCOMPARE(window->StatusPanelText(5), QString(" PC: $001"));
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(document.GetCaretPos().Line, 2);
        auto* text = document.TextControl();
        QCOMPARE(text->LineGlyphAt(0), static_cast<int>(TLineGlyph::Executed));
        QCOMPARE(text->LineGlyphAt(1), static_cast<int>(TLineGlyph::Current));
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), QString("2B"));
        QCOMPARE(LogSince(window, logStart), QStringList());
    }

    void RunStopsAtABreakpoint() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "count.psm", kCounting);
        document.SetCaretPos({6, 1});
        QVERIFY(Press(window, window->Commands().actSetBreakpoint));
        QCOMPARE(document.TextControl()->LineColourAt(5), TLineColour::Breakpoint);
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actRun));
        QCOMPARE(LogSince(window, logStart),
                 QStringList({"!Program is Started", "!Program is Paused"}));
        QCOMPARE(document.CurrentLine(), 6);
        QCOMPARE(RegisterText(window, 0), QString("05"));
        QCOMPARE(document.TextControl()->LineColourAt(5), TLineColour::Current);
        QCOMPARE(document.TextControl()->LineGlyphAt(5),
                 static_cast<int>(TLineGlyph::CurrentBreakpoint));
        // Run again from the breakpoint: it executes it and stops there again.
        QVERIFY(Press(window, window->Commands().actRun));
        QCOMPARE(Simulator(window).InstructionCount(), 18);
        QCOMPARE(document.CurrentLine(), 6);
    }

    void PauseStopsAnEndlessRun() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "endless.psm", kEndless);
        int logStart = LogCount(window);
        QStringList enabledDuringRun;
        QString instructionsDuringRun;
        int currentGlyphDuringRun = 0;
        DuringRun(window, 150, [&] {
            enabledDuringRun = EnabledCommands(window);
            instructionsDuringRun = window->StatusPanelText(3);
            currentGlyphDuringRun = document.TextControl()->LineGlyphAt(0);
            Press(window, window->Commands().actPause);
        });
        QVERIFY(Press(window, window->Commands().actRun));
        QCOMPARE(Simulator(window).State(), ssPaused);
        QCOMPARE(enabledDuringRun, QStringList({"Simulate", "Reset", "Pause"}));
        // The yields show the run's progress; no line is current meanwhile.
        QVERIFY2(instructionsDuringRun != " Instructions: 0", qPrintable(instructionsDuringRun));
        QCOMPARE(currentGlyphDuringRun, static_cast<int>(TLineGlyph::Executed));
        QCOMPARE(LogSince(window, logStart),
                 QStringList({"!Program is Started", "!Program is Paused"}));
        QVERIFY(Simulator(window).InstructionCount() > 1000);
        QCOMPARE(document.CurrentLine(), 1);
        QCOMPARE(document.TextControl()->LineGlyphAt(0), static_cast<int>(TLineGlyph::Current));
        QCOMPARE(EnabledCommands(window), QStringList({"Simulate", "Reset", "Run", "StepOne",
                                                       "StepOver", "GotoCursor", "SetBreakpoint"}));
    }

    void ResetReturnsToAddressZero() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "count.psm", kCounting);
        for (int i = 0; i < 4; ++i)
            Press(window, window->Commands().actStepOne);
        QCOMPARE(RegisterText(window, 0), QString("01"));
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actReset));
        QCOMPARE(LogSince(window, logStart), QStringList({"!Program is Reset"}));
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(document.GetCaretPos().Line, 2);
        QCOMPARE(RegisterText(window, 0), QString("00"));
        QCOMPARE(window->StatusPanelText(3), QString(" Instructions: 0"));
        // The executed marks stay.
        QCOMPARE(document.TextControl()->LineGlyphAt(2), static_cast<int>(TLineGlyph::Executed));
    }

    void ToCursorRunsToTheCaretLine() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "count.psm", kCounting);
        document.SetCaretPos({1, 1}); // a comment line
        QVERIFY(!EnabledCommands(window).contains("GotoCursor"));
        QVERIFY(!EnabledCommands(window).contains("SetBreakpoint"));
        document.SetCaretPos({6, 3});
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actGotoCursor));
        QCOMPARE(document.CurrentLine(), 6);
        QCOMPARE(RegisterText(window, 0), QString("05"));
        QCOMPARE(LogSince(window, logStart),
                 QStringList({"!Program is Started", "!Program is Paused"}));
    }

    void StepOverRunsACallToItsReturn() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "call.psm", kCall);
        QVERIFY(Press(window, window->Commands().actStepOver));
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(RegisterText(window, 1), QString("07"));
        QCOMPARE(window->StatusPanelText(6), QString(" SP: 0 ( $00 )"));
        QCOMPARE(Simulator(window).InstructionCount(), 3);
    }

    void AFailingInstructionHalts() {
        TTestWindow window;
        StartSimulation(window, "halt.psm", "        RET\r\n");
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(LogSince(window, logStart), QStringList({"?Stack underflow occurred."}));
        QCOMPARE(Simulator(window).State(), ssHalted);
        QCOMPARE(window->StatusPanelText(6), QString(" SP: ??"));
        QCOMPARE(EnabledCommands(window), QStringList({"Simulate", "Reset"}));
        QVERIFY(Press(window, window->Commands().actReset));
        QCOMPARE(Simulator(window).State(), ssPaused);
    }

    void CommandsAreEnabledByState() {
        TTestWindow window;
        QCOMPARE(EnabledCommands(window), QStringList({"PicoblazeI", "Picoblaze3"}));
        window->OpenDocument(WriteFile(window.Settings.Folder(), "bad.psm", "JUMP nowhere\r\n"));
        QCOMPARE(EnabledCommands(window), QStringList({"Simulate", "PicoblazeI", "Picoblaze3"}));
        Press(window, window->Commands().actSimulate);
        QCOMPARE(window.Active().Mode(), dmErrors);
        QCOMPARE(EnabledCommands(window), QStringList({"Simulate"}));
        Press(window, window->Commands().actSimulate);

        TEditor& document = StartSimulation(window, "count.psm", kCounting);
        QCOMPARE(EnabledCommands(window), kPausedCommands);
        document.SetCaretPos({3, 1});
        Press(window, window->Commands().actSetBreakpoint);
        QCOMPARE(EnabledCommands(window), kPausedCommands + QStringList{"ClearBreakpoints"});
        // A print preview disables them all but the core commands' rule.
        window.Dialogs.PrinterSetupAccepted = true;
        Press(window, window->Commands().actFilePreview);
        QVERIFY(document.Preview());
        QCOMPARE(EnabledCommands(window), QStringList());
        QVERIFY(window->SimulationPanelArea->isHidden());
        Press(window, window->Commands().actFilePreview);
        QCOMPARE(EnabledCommands(window), kPausedCommands + QStringList{"ClearBreakpoints"});
        QVERIFY(!window->SimulationPanelArea->isHidden());
    }

    void ClearBreakpointsWorksDuringARun() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "endless.psm", kEndless);
        document.SetCaretPos({2, 1}); // never reached
        Press(window, window->Commands().actSetBreakpoint);
        bool clearEnabled = false;
        DuringRun(window, 60, [&] {
            clearEnabled = EnabledCommands(window).contains("ClearBreakpoints");
            Press(window, window->Commands().actClearBreakpoints);
            Press(window, window->Commands().actPause);
        });
        Press(window, window->Commands().actRun);
        QVERIFY(clearEnabled);
        QVERIFY(!Simulator(window).HasBreakpoints());
        QCOMPARE(document.TextControl()->LineColourAt(1), TLineColour::Normal);
    }

    void LeavingSimulateModeDuringARunEndsIt() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "endless.psm", kEndless);
        DuringRun(window, 60, [&] { Press(window, window->Commands().actSimulate); });
        int logStart = LogCount(window);
        Press(window, window->Commands().actRun);
        QCOMPARE(document.Mode(), dmEdit);
        QCOMPARE(Panels(window).Simulator(), nullptr);
        QVERIFY(window->SimulationPanelArea->isHidden());
        QCOMPARE(LogSince(window, logStart), QStringList({"!Program is Started"}));
        QCOMPARE(document.TextControl()->LineGlyphAt(0), -1);
        QCOMPARE(EnabledCommands(window), QStringList({"Simulate", "PicoblazeI", "Picoblaze3"}));
    }

    void ResetDuringARunEndsItAtAddressZero() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "count.psm", kCounting);
        int logStart = LogCount(window);
        DuringRun(window, 60, [&] { Press(window, window->Commands().actReset); });
        QVERIFY(Press(window, window->Commands().actRun));
        QCOMPARE(LogSince(window, logStart),
                 QStringList({"!Program is Started", "!Program is Reset"}));
        QCOMPARE(Simulator(window).State(), ssPaused);
        QCOMPARE(Simulator(window).PC(), 0);
        QCOMPARE(document.CurrentLine(), 2);
    }

    void ClosingTheWindowDuringARunIsSafe() {
        TTestWindow window;
        StartSimulation(window, "endless.psm", kEndless);
        DuringRun(window, 60, [&] { window->close(); });
        Press(window, window->Commands().actRun);
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(Panels(window).Simulator(), nullptr);
    }

    void ClosingTheDocumentDuringARunIsSafe() {
        TTestWindow window;
        StartSimulation(window, "endless.psm", kEndless);
        DuringRun(window, 60, [&] {
            window->actFileCloseAll->trigger();
            Settle(*window);
        });
        Press(window, window->Commands().actRun);
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(Panels(window).Simulator(), nullptr);
        QCOMPARE(EnabledCommands(window), QStringList({"PicoblazeI", "Picoblaze3"}));
        // The program goes on normally.
        StartSimulation(window, "steps.psm", kSteps);
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), QString("2A"));
    }

    void EveryExampleEntersSimulateMode() {
        // A copy of the folder, so that files the programs write (log
        // files) never land in the source tree.
        const QDir sources(QStringLiteral(KORVO_EXAMPLES_DIR));
        TScratchFolder copy;
        const QDir examples(QString::fromStdString(copy.Path()));
        for (const QString& file : sources.entryList(QDir::Files))
            QVERIFY(QFile::copy(sources.filePath(file), examples.filePath(file)));
        const QStringList files = examples.entryList({"*.psm"}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 13);
        for (const QString& file : files) {
            TCoreKind core = file.endsWith("_pbti.psm")    ? TCoreKind::pbtI
                             : file.endsWith("_pbtii.psm") ? TCoreKind::pbtII
                             : file.endsWith("_pbtc.psm")  ? TCoreKind::pbtC
                                                           : TCoreKind::pbt3;
            TTestWindow window;
            window->Commands().CoreAction(core)->trigger();
            window->OpenDocument(examples.filePath(file));
            Press(window, window->Commands().actSimulate);
            QVERIFY2(window.Active().Mode() == dmSimulate, qPrintable(file));
            QVERIFY2(Press(window, window->Commands().actStepOne), qPrintable(file));
        }
    }

    void AnotherCoreCannotBeChosenWhileSimulating() {
        TTestWindow window;
        TEditor& document = StartSimulation(window, "steps.psm", kSteps);
        QVERIFY(!EnabledCommands(window).contains("PicoblazeI"));
        Press(window, window->Commands().actSimulate);
        QVERIFY(Press(window, window->Commands().CoreAction(TCoreKind::pbtI)));
        QCOMPARE(document.Simulator()->CoreKind(), TCoreKind::pbtI);
        Press(window, window->Commands().actSimulate);
        QCOMPARE(document.Mode(), dmSimulate);
        QCOMPARE(Panels(window).Simulator(), document.Simulator());
    }
};

QTEST_MAIN(SimulationCommandsTest)
#include "simulation_commands_test.moc"
