// Simulate (F12) and the simulation commands on a real simulation: the
// listing and marks in the gutter, errors, Step One, Run to a breakpoint,
// Pause, Reset, To Cursor, Step Over, a halt, what may happen from inside a
// run; and Format and Import, which rewrite the text.
#include "common/settings.h"
#include "gui_test_support.h"
#include "panels/frame_status.h"
#include "shell/app/icons.h"
#include "shell/commands/action_list.h"

using namespace korvo;
using namespace korvo::test;

namespace {

const std::string kSteps = Lines({"LOAD s0, $2A", "ADD s0, 1", "loop: JUMP loop"});
const std::string kCounting = Lines({"; counts up to five", "LOAD s0, 0", "loop: ADD s0, 1",
                                     "COMP s0, 5", "JUMP NZ, loop", "done: JUMP done"});
const std::string kEndless = Lines({"loop: JUMP loop", "LOAD s1, 1"});

QString RegisterText(TTestWindow& window, int n) {
    return Panels(window).Status().RegisterEdits[n]->text();
}

int Glyph(TDocument& document, int line) {
    return document.TextControl()->LineGlyphAt(line);
}

// The simulation commands that are enabled, by name.
QStringList EnabledCommands(TTestWindow& window) {
    window->UpdateCommands();
    auto& c = window->Commands();
    QStringList enabled;
    for (QAction* command :
         {c.actSimulate, c.actReset, c.actRun, c.actStepOne, c.actStepOver, c.actGotoCursor,
          c.actPause, c.actSetBreakpoint, c.actClearBreakpoints, c.CoreAction(TCoreKind::pbtI)})
        if (command->isEnabled()) enabled << command->objectName().mid(3);
    return enabled;
}

const QString kStarted = "!Program is Started", kPaused = "!Program is Paused",
              kReset = "!Program is Reset";

// A command the user gives while kCounting runs with a breakpoint on a line
// it never reaches again; a run that goes on after it is paused.
// Name, command, log lines of the run, documents left, their mode, whether
// breakpoints are left, the current line (0: any).
using TDuringRunRow =
    std::tuple<const char*, const char*, QStringList, int, TDocumentMode, bool, int>;
const TDuringRunRow kDuringRunRows[] = {
    {"pause", "actPause", {kStarted, kPaused}, 1, dmSimulate, true, 6},
    {"reset", "actReset", {kStarted, kReset}, 1, dmSimulate, true, 2},
    {"clear breakpoints", "actClearBreakpoints", {kStarted, kPaused}, 1, dmSimulate, false, 6},
    {"leave Simulate mode", "actSimulate", {kStarted}, 1, dmEdit, true, 0},
    {"close the window", "actFileExit", {kStarted}, 0, dmEdit, false, 0},
    {"close every document", "actFileCloseAll", {kStarted}, 0, dmEdit, false, 0},
};

} // namespace

class SimulationTest : public QObject {
    Q_OBJECT

private slots:
    void F12EntersAndLeavesSimulateMode() {
        TTestWindow window;
        window->OpenDocument(window.File("good.psm", "; count\r\n" + kSteps));
        TDocument& document = window.Active();
        auto* text = document.TextControl();
        QVERIFY(Press(window, window->Commands().actSimulate));
        QCOMPARE(document.Mode(), dmSimulate);
        QVERIFY(text->isReadOnly());
        QVERIFY(!text->LineNumbersShown());
        QCOMPARE(text->ListingText(1), "$00 $002A");
        QCOMPARE(text->ListingText(3), "$02 $8102");
        QCOMPARE(LogLines(*window).last(), "!Program is Reset");
        // Paused at address 0: its line is the current line.
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 1}));
        QCOMPARE(text->LineColourAt(1), TLineColour::Current);
        QCOMPARE(QList<int>({Glyph(document, 0), Glyph(document, 1), Glyph(document, 2)}),
                 QList<int>({-1, int(TLineGlyph::Current), int(TLineGlyph::Code)}));
        QCOMPARE(Panels(window).Status().Simulator(), document.Simulator());
        QVERIFY(!window->SimulationPanelArea->isHidden());
        QTest::keyClicks(text, "xyz");
        QVERIFY(!document.Modified());

        Press(window, window->Commands().actSimulate);
        QCOMPARE(document.Mode(), dmEdit);
        QVERIFY(!text->isReadOnly());
        QVERIFY(text->LineNumbersShown());
        QCOMPARE(text->LineColourAt(1), TLineColour::Normal);
        QCOMPARE(Glyph(document, 2), -1);
        QCOMPARE(Panels(window).Status().Simulator(), nullptr);
        QVERIFY(window->SimulationPanelArea->isHidden());
        // And again: a fresh simulation with the panels bound to it.
        Press(window, window->Commands().actSimulate);
        QCOMPARE(Panels(window).Status().Simulator(), document.Simulator());
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), "2A");
    }

    void TheExecCommandStartsAfterASuccessfulAssembly() {
        TTestWindow window;
        StartSimulation(window, "exec.psm", "EXEC \"true\"\r\nLOAD s0, 1\r\n");
        QVERIFY(LogLines(*window).contains("!Executing: 'true'"));
    }

    void AChangeOrAnotherDocumentEndsTheSimulation() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "steps.psm", kSteps);
        document.SetModified(true);
        QCOMPARE(document.Mode(), dmEdit);
        Press(window, window->Commands().actSimulate);
        window->actFileNew->trigger();
        QCOMPARE(document.Mode(), dmEdit);
        QVERIFY(document.TextControl()->LineNumbersShown());
        // Simulating again in Simulate mode starts afresh.
        TDocument& other = StartSimulation(window, "other.psm", kSteps);
        Step(window);
        other.SetMode(dmSimulate);
        QCOMPARE(Panels(window).Simulator(), other.Simulator());
        QCOMPARE(Simulator(window).PC(), 0);
    }

    void ViewCoverageColoursExecutedAndNeverExecutedLines() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "endless.psm", kEndless);
        Step(window);
        auto* text = document.TextControl();
        QCOMPARE(text->CoverageMarkAt(0), std::nullopt);
        QVERIFY(Press(window, window->actViewCoverage));
        QCOMPARE(text->CoverageMarkAt(0), std::optional(true));
        QCOMPARE(text->CoverageMarkAt(1), std::optional(false));
        QVERIFY(Press(window, window->actViewCoverage));
        QCOMPARE(text->CoverageMarkAt(1), std::nullopt);
    }

    void ViewHeatCountsEachLineSinceTheLastReset() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "count.psm", kCounting);
        auto* text = document.TextControl();
        QVERIFY(Press(window, window->actViewHeat));
        document.SetCaretPos({6, 1});
        QVERIFY(Press(window, window->Commands().actSetBreakpoint));
        QVERIFY(Press(window, window->Commands().actRun));
        using TCounts = QList<std::optional<std::uint64_t>>;
        auto counts = [text] {
            TCounts lines;
            for (int line = 0; line < 6; ++line)
                lines << text->HeatCountAt(line);
            return lines;
        };
        // One LOAD, five rounds of the loop; the breakpoint's line not yet.
        QCOMPARE(counts(), (TCounts{std::nullopt, 1, 5, 5, 5, 0}));
        // The LOAD's level: ceil(5 * ln 2 / ln 6) = 2.
        QCOMPARE(QList<int>({text->HeatLevelAt(0), text->HeatLevelAt(1), text->HeatLevelAt(2),
                             text->HeatLevelAt(5)}),
                 QList<int>({0, 2, 5, 0}));
        Step(window);
        QCOMPARE(text->HeatCountAt(5), std::optional<std::uint64_t>(1));
        QVERIFY(Press(window, window->Commands().actReset));
        QCOMPARE(counts(), (TCounts{std::nullopt, 0, 0, 0, 0, 0}));
        QVERIFY(Press(window, window->actViewHeat));
        QCOMPARE(counts(), TCounts(6, std::nullopt));
    }

    void StepOneUpdatesRegistersAndStatusWithoutLogging() {
        TTestWindow window;
        WriteString(window.Settings.Store(), "Time", "Frequency", "40");
        TDocument& document = StartSimulation(window, "steps.psm", kSteps);
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(RegisterText(window, 0), "2A");
        // Two clocks an instruction at 40 MHz.
        QCOMPARE(QStringList({window->StatusPanelText(3), window->StatusPanelText(4),
                              window->StatusPanelText(5)}),
                 QStringList({" Instructions: 1", " Time : 50ns", " PC: $001"}));
        QCOMPARE(document.CurrentLine() + document.GetCaretPos().Line, 4);
        QCOMPARE(QList<int>({Glyph(document, 0), Glyph(document, 1)}),
                 QList<int>({int(TLineGlyph::Executed), int(TLineGlyph::Current)}));
        Step(window);
        QCOMPARE(RegisterText(window, 0), "2B");
        QCOMPARE(LogSince(window, logStart), QStringList());
    }

    void RunStopsAtABreakpoint() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "count.psm", kCounting);
        document.SetCaretPos({6, 1});
        QVERIFY(Press(window, window->Commands().actSetBreakpoint));
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actRun));
        QCOMPARE(LogSince(window, logStart), QStringList({kStarted, kPaused}));
        QCOMPARE(document.CurrentLine(), 6);
        QCOMPARE(RegisterText(window, 0), "05");
        QCOMPARE(document.TextControl()->LineColourAt(5), TLineColour::Current);
        QCOMPARE(Glyph(document, 5), static_cast<int>(TLineGlyph::CurrentBreakpoint));
        // Run again from the breakpoint: it executes it and stops there again.
        QVERIFY(Press(window, window->Commands().actRun));
        QCOMPARE(Simulator(window).InstructionCount(), 18);
        QCOMPARE(document.CurrentLine(), 6);
    }

    void ResetReturnsToAddressZero() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "count.psm", kCounting);
        Step(window, 4);
        QCOMPARE(RegisterText(window, 0), "01");
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actReset));
        QCOMPARE(LogSince(window, logStart), QStringList({"!Program is Reset"}));
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(RegisterText(window, 0), "00");
        QCOMPARE(window->StatusPanelText(3), " Instructions: 0");
        // The executed marks stay.
        QCOMPARE(Glyph(document, 2), static_cast<int>(TLineGlyph::Executed));
    }

    void ToCursorRunsToTheCaretLine() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "count.psm", kCounting);
        document.SetCaretPos({1, 1}); // a comment line
        QVERIFY(!EnabledCommands(window).contains("GotoCursor"));
        QVERIFY(!EnabledCommands(window).contains("SetBreakpoint"));
        document.SetCaretPos({6, 3});
        QVERIFY(Press(window, window->Commands().actGotoCursor));
        QCOMPARE(document.CurrentLine(), 6);
        QCOMPARE(RegisterText(window, 0), "05");
    }

    void StepOverRunsACallToItsReturn() {
        TTestWindow window;
        TDocument& document =
            StartSimulation(window, "call.psm",
                            Lines({"CALL routine", "back: LOAD s2, 2", "done: JUMP done",
                                   "routine: LOAD s1, 7", "RET"}));
        QVERIFY(Press(window, window->Commands().actStepOver));
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(RegisterText(window, 1), "07");
        QCOMPARE(window->StatusPanelText(6), " SP: 0 ( $00 )");
        QCOMPARE(Simulator(window).InstructionCount(), 3);
    }

    void StepBackAndRunBackShowTheStateBefore() {
        TTestWindow window;
        TDocument& document = StartSimulation(window, "count.psm", kCounting);
        auto& c = window->Commands();
        QCOMPARE(c.actStepBack->shortcut(), QKeySequence("Shift+F7"));
        QCOMPARE(c.actRunBack->shortcut(), QKeySequence("Shift+F9"));
        window->UpdateCommands();
        QVERIFY(!c.actStepBack->isEnabled()); // nothing recorded yet
        document.SetCaretPos({4, 1});
        QVERIFY(Press(window, c.actSetBreakpoint));
        QVERIFY(Press(window, c.actRun));
        QVERIFY(Press(window, c.actRun));
        QCOMPARE(RegisterText(window, 0), "02");
        QVERIFY(Press(window, c.actStepBack));
        QCOMPARE(document.CurrentLine(), 3);
        QCOMPARE(RegisterText(window, 0), "01");
        QCOMPARE(window->StatusPanelText(3), " Instructions: 4");
        QVERIFY(Press(window, c.actRunBack));
        QCOMPARE(document.CurrentLine(), 4);
        QCOMPARE(window->StatusPanelText(3), " Instructions: 2");
        QVERIFY(Press(window, c.actRunBack));
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(RegisterText(window, 0), "00");
        QVERIFY(!c.actStepBack->isEnabled());
    }

    void AFailingInstructionHalts() {
        TTestWindow window;
        StartSimulation(window, "halt.psm", "        RET\r\n");
        int logStart = LogCount(window);
        QVERIFY(Press(window, window->Commands().actStepOne));
        QCOMPARE(LogSince(window, logStart), QStringList({"?Stack underflow occurred."}));
        QCOMPARE(Simulator(window).State(), ssHalted);
        QCOMPARE(window->StatusPanelText(6), " SP: ??");
        QCOMPARE(EnabledCommands(window), QStringList({"Simulate", "Reset"}));
        QVERIFY(Press(window, window->Commands().actReset));
        QCOMPARE(Simulator(window).State(), ssPaused);
    }

    void DuringARun_data() { AddRows(kDuringRunRows); }

    void DuringARun() {
        const auto& [name, command, log, documents, mode, breakpoints, currentLine] =
            Row(kDuringRunRows);
        TTestWindow window;
        TDocument& document = StartSimulation(window, "count.psm", kCounting);
        document.SetCaretPos({2, 1});
        Press(window, window->Commands().actSetBreakpoint);
        int logStart = LogCount(window);
        QStringList enabled;
        QString progress;
        int glyph = 0;
        DuringRun(window, 60, [&] {
            enabled = EnabledCommands(window);
            progress = window->StatusPanelText(3);
            glyph = Glyph(document, 5);
            QVERIFY(Press(window, window->Actions().Find(command)));
            if (window->Commands().actPause->isEnabled()) window->Commands().actPause->trigger();
        });
        Press(window, window->Commands().actRun);
        Settle(*window);
        QCOMPARE(enabled, QStringList({"Simulate", "Reset", "Pause", "ClearBreakpoints"}));
        // The yields show the run's progress; no line is current meanwhile.
        QVERIFY2(progress != " Instructions: 0", qPrintable(progress));
        QCOMPARE(glyph, static_cast<int>(TLineGlyph::Executed));
        QCOMPARE(LogSince(window, logStart), log);
        QCOMPARE(window->Documents().Count(), documents);
        bool simulating = documents && mode == dmSimulate;
        if (documents) QCOMPARE(document.Mode(), mode);
        QCOMPARE(Panels(window).Simulator(), simulating ? document.Simulator() : nullptr);
        if (documents && !simulating) QCOMPARE(Glyph(document, 2), -1);
        if (!simulating) {
            // The program goes on normally.
            StartSimulation(window, "steps.psm", kSteps);
            QVERIFY(Press(window, window->Commands().actStepOne));
            QCOMPARE(RegisterText(window, 0), "2A");
            return;
        }
        QCOMPARE(EnabledCommands(window),
                 QStringList({"Simulate", "Reset", "Run", "StepOne", "StepOver", "GotoCursor",
                              "SetBreakpoint"}) +
                     (breakpoints ? QStringList{"ClearBreakpoints"} : QStringList{}));
        QCOMPARE(Simulator(window).HasBreakpoints(), breakpoints);
        if (!breakpoints) QCOMPARE(document.TextControl()->LineColourAt(1), TLineColour::Normal);
        if (currentLine) QCOMPARE(document.CurrentLine(), currentLine);
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
                             : file.endsWith("_pbt6.psm")  ? TCoreKind::pbt6
                                                           : TCoreKind::pbt3;
            TTestWindow window;
            window->Commands().CoreAction(core)->trigger();
            window->OpenDocument(examples.filePath(file));
            Press(window, window->Commands().actSimulate);
            QVERIFY2(window.Active().Mode() == dmSimulate, qPrintable(file));
            QVERIFY2(Press(window, window->Commands().actStepOne), qPrintable(file));
        }
    }

    void FormatLaysTheLinesOut() {
        TTestWindow window;
        window->OpenDocument(window.File("fmt.psm", "loop: load S3, $f ;count\r\n  add s1,1\r\n"));
        TDocument& document = window.Active();
        Press(window, window->Commands().actFormat);
        QStringList lines = document.TextControl()->text().split("\r\n");
        QCOMPARE(lines[0], "loop:               LOAD      s3, $0F             ; count");
        QCOMPARE(lines[1].trimmed(), "ADD       s1, 1");
        // One undo step restores the text.
        document.Undo();
        QCOMPARE(document.TextControl()->text(), "loop: load S3, $f ;count\r\n  add s1,1\r\n");
    }

    // The converted text opens as a new document beside the source, with the
    // lines the conversion adds; Save never writes it over the source.
    void ImportConvertsAKcpsmSource() {
        TTestWindow window;
        std::string source = Lines({"CONSTANT max, FF", "ADDCY s1, 01", "CONSTANT Max, 01",
                                    "STRING hi$, \"Hi!\"", "go: OUTPUTK hi$, 3", "JUMP go"});
        QString file = window.File("kcpsm.psm", source);
        window.Dialogs.OpenFileNames = {file};
        window->actImport->trigger();
        TDocument& document = window.Active();
        QCOMPARE(document.Title(), "Untitled1.psm");
        QCOMPARE(QFileInfo(document.FileName()).absolutePath(), window.Settings.Folder());
        QVERIFY(document.Modified());
        // The rename heads the text and goes to the log pane.
        QVERIFY(LogLines(*window).contains("!Import renamed constant Max -> Max_1"));
        QStringList lines = document.TextControl()->text().split("\r\n").mid(2);
        for (QString& line : lines)
            line = line.simplified();
        QCOMPARE(lines,
                 QStringList({"max EQU $FF", "ADDC s1, 1", "Max_1 EQU 1", "; STRING hi$, \"Hi!\"",
                              "go: OUTK 'H', 3", "OUTK 'i', 3", "OUTK '!', 3", "JUMP go", ""}));
        Press(window, window->Commands().actFileSave);
        QCOMPARE(window.Dialogs.SaveDialogs, 1);
        QCOMPARE(ReadFile(file), source);
    }
};

QTEST_MAIN(SimulationTest)
#include "simulation_test.moc"
