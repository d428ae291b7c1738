// What helps while writing and debugging a program: the core chosen per
// file, the assembler's messages in the text, going to lines and definitions,
// hints on names, the dark theme, zoom, the files of the last session, the
// marks of what a step changed, and the code memory and call stack views.
#include "base/theme.h"
#include "common/settings.h"
#include "gui_test_support.h"
#include "panels/call_stack_view.h"
#include "panels/code_memory_view.h"
#include "panels/frame_io_panels.h"
#include "panels/frame_output.h"
#include "panels/frame_ram_panels.h"
#include "panels/frame_status.h"
#include "panels/frame_store.h"
#include "panels/panel_widgets.h"
#include "panels/profile_view.h"
#include "shell/app/log_pane.h"
#include "shell/commands/core_selector.h"
#include "shell/commands/run_speed.h"

using namespace korvo;
using namespace korvo::test;

namespace {
using Sci = QsciScintillaBase;

// The document position of the first occurrence of text on a line (from 1).
int PositionOf(TSourceEditor& text, int line, const char* what) {
    int column = QString::fromStdString(text.LineBytes(line - 1)).indexOf(QLatin1String(what));
    return static_cast<int>(text.SendScintilla(Sci::SCI_POSITIONFROMLINE, line - 1)) + column;
}

QString Hover(TDocument& document, int line, const char* what) {
    auto& text = *document.TextControl();
    emit text.SCN_DWELLSTART(PositionOf(text, line, what), 5, 5);
    QString hint = QToolTip::isVisible() ? QToolTip::text() : QString();
    // A hidden hint goes after a while; the next one must not see it.
    QToolTip::hideText();
    for (int wait = 0; wait < 50 && QToolTip::isVisible(); ++wait)
        QTest::qWait(20);
    return hint;
}

const char* kProgram =
    "counter EQU s3\r\nleds DSOUT $01\r\nloop: ADD counter, 1\r\n"
    "  OUT counter, leds\r\n  JUMP loop\r\nINCL \"defs.inc\"\r\nLOAD s0, limit\r\n";
} // namespace

class DevelopmentAidsTest : public QObject {
    Q_OBJECT

private slots:
    // The core is chosen in the tool bar or status bar and stays the file's,
    // also over a restart that reopens the session; a source that is good
    // for another core says so when it fails.
    void TheCoreIsTheFilesAndTheSessionComesBack() {
        TTestWindow window;
        QString file = window.File("p3.psm", "loop: FETCH s0, 1\r\n");
        window->OpenDocument(file);
        Press(window, window->Commands().actSimulate);
        QVERIFY(LogLines(*window).contains(
            "?This source assembles without errors for Picoblaze-3: select that core to use it"));
        Press(window, window->Commands().actSimulate);
        QComboBox* list = window->CoreSelector->ToolBarList;
        emit list->activated(2);
        window->UpdateCommands();
        QCOMPARE(window.Active().Simulator()->CoreKind(), TCoreKind::pbt3);
        QCOMPARE(window->CoreSelector->StatusButton->text(), QString("Picoblaze 3"));
        QCOMPARE(window->StatusPanelText(0), QString(" Mode: Picoblaze-3"));

        window->actFileNew->trigger();
        window->CoreSelector->StatusButton->menu()->actions().at(3)->trigger();
        window->UpdateCommands();
        QCOMPARE(list->currentIndex(), 3);
        window->OpenDocument(file);
        window->UpdateCommands();
        QCOMPARE(list->currentIndex(), 2);

        window.Restart();
        QCOMPARE(window->Documents().Count(), 1);
        QCOMPARE(window.Active().Simulator()->CoreKind(), TCoreKind::pbt3);
        QCOMPARE(window->Commands().CoreKind(), TCoreKind::pbtC);
        QVERIFY(Press(window, window->Commands().actSimulate));
        QCOMPARE(window.Active().Mode(), dmSimulate);
        WriteInteger(window.Settings.Store(), "Options", "ReopenFiles", 0);
        window.Restart();
        QCOMPARE(window->Documents().Count(), 0);
    }

    // A failed assembly shows Errors mode with the caret on the first bad
    // line; the listing and the log name the bad lines, which carry their
    // message, shown as the hint, until the line is edited.
    void ABadProgramShowsItsErrorsOnTheirLines() {
        TTestWindow window;
        window->OpenDocument(window.File("bad.psm", Lines({"start: LOAD s0, 1", "LOAD s0, nowhere",
                                                           "JUMP start", "JUMP elsewhere"})));
        TDocument& document = window.Active();
        int logStart = LogCount(window);
        Press(window, window->Commands().actSimulate);
        QCOMPARE(document.Mode(), dmErrors);
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 1}));
        QStringList log = LogSince(window, logStart);
        QVERIFY(log.size() == 4 && log[2].startsWith("Line 2: ") && log[3].startsWith("Line 4: "));
        auto& text = *document.TextControl();
        auto marks = [&] {
            QStringList marks;
            for (int line = 0; line < 4; ++line)
                marks << text.ListingText(line).left(1) + text.ErrorMessage(line);
            return marks;
        };
        const QString undefined("An undefined identifier found.");
        QCOMPARE(marks(), QStringList({"$", "?" + undefined, "$", "?" + undefined}));
        QCOMPARE(Hover(document, 2, "nowhere"), undefined);
        document.SetCaretPos({2, 3});
        text.insert("x");
        QCOMPARE(text.ErrorMessage(1) + '|' + text.ErrorMessage(3), '|' + undefined);
    }

    // After F12 the checker's findings sit on their lines by severity and in
    // the log as lines a double click follows; an error of the checker does
    // not keep the program from running.
    void TheCheckersFindingsAfterF12() {
        TTestWindow window;
        int logStart = LogCount(window);
        TDocument& document =
            StartSimulation(window, "deep.psm",
                            Lines({"spare EQU 11", "start: CALL one", "JUMP start", "one: CALL two",
                                   "RET", "two: CALL three", "RET", "three: CALL four", "RET",
                                   "four: CALL five", "RET", "five: RET"}),
                            TCoreKind::pbtC);
        auto& text = *document.TextControl();
        // 0 error, 1 warning, 2 note, -1 nothing.
        auto marks = [&] {
            QList<int> marks;
            for (int line = 0; line < 12; ++line) {
                auto mark = text.CheckMarkAt(line);
                marks << (mark ? static_cast<int>(*mark) : -1);
            }
            return marks;
        };
        QCOMPARE(marks(), QList<int>({1, 0, -1, 2, -1, 2, -1, 2, -1, 2, -1, -1}));
        QVERIFY(text.ErrorMessage(0).contains("spare"));
        QStringList log = LogSince(window, logStart).filter(QRegularExpression("^Line \\d+: "));
        QCOMPARE(log.filter(QRegularExpression("^Line (1: warning|2: error|[2468]: note|10: note)"))
                     .size(),
                 7);
        QCOMPARE(TLogPane::BackgroundOf(log.filter("Line 4: note: ").value(0)),
                 TLogPane::BackgroundOf("note:"));
        emit window->LogPane()->SourceLineRequested(8);
        QCOMPARE(document.GetCaretPos().Line, 8);
        // Back in Edit mode the marks stay until their line is edited.
        Press(window, window->Commands().actSimulate);
        document.SetCaretPos({1, 1});
        text.insert("x");
        QCOMPARE(marks().mid(0, 3), QList<int>({-1, 0, -1}));
    }

    void LinesDefinitionsAndHints() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        QString include = window.File("defs.inc", ";\r\nlimit EQU 10\r\n");
        TDocument& document = StartSimulation(window, "names.psm", kProgram);
        auto& text = *document.TextControl();
        auto& c = window->Commands();
        Press(window, c.actSimulate);
        window.Dialogs.LineNumbers = {4};
        Press(window, c.actGotoLine);
        QCOMPARE(document.GetCaretPos().Line, 4);
        text.SendScintilla(Sci::SCI_GOTOPOS, PositionOf(text, 5, "loop"));
        Press(window, c.actGotoDefinition);
        QCOMPARE(document.GetCaretPos().Line, 3);
        auto ctrlClick = [&](int line, const char* name) {
            int at = PositionOf(text, line, name);
            QTest::mouseClick(
                text.viewport(), Qt::LeftButton, Qt::ControlModifier,
                QPoint(
                    static_cast<int>(text.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0L, at)) + 2,
                    static_cast<int>(text.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0L, at)) + 4));
        };
        ctrlClick(4, "leds");
        QCOMPARE(document.GetCaretPos().Line, 2);

        QCOMPARE(Hover(document, 3, "counter"), QString("counter: register s3, line 1"));
        QCOMPARE(Hover(document, 5, "loop"), QString("loop: label, address $000, line 3"));
        QCOMPARE(Hover(document, 7, "limit"), QString("limit: constant $0A (10), line 2"));
        Press(window, c.actSimulate);
        Step(window, 2);
        QCOMPARE(Hover(document, 4, "counter"),
                 QString("counter: register s3, line 1\nnow $01 (1)"));
        QCOMPARE(Hover(document, 4, "leds"), QString("leds: port $01, line 2\nnow $01 (1)"));
        // A name an included file defines opens that file on its line.
        Press(window, c.actSimulate);
        ctrlClick(7, "limit");
        QCOMPARE(window.Active().FileName(), include);
        QCOMPARE(window.Active().GetCaretPos().Line, 2);
    }

    // The dark theme paints the editor, the gutter and the highlighter's
    // colours dark and readable, and the glyphs' outlines light; a disabled
    // glyph stands out less than an enabled one. The settings switch it;
    // Ctrl zooms.
    void DarkThemeAndZoom() {
        TTestWindow window;
        window.Close();
        WriteInteger(window.Settings.Store(), "Options", "Theme", 2);
        window.Restart();
        window->OpenDocument(window.File("dark.psm", kProgram));
        auto& text = *window.Active().TextControl();
        const TTheme& theme = CurrentTheme();
        QVERIFY(theme.Dark && QApplication::palette().color(QPalette::Window).lightness() < 128);
        QCOMPARE(text.lexer()->paper(0), theme.Paper);
        for (int style = 1; style <= 9; ++style)
            QVERIFY2(text.lexer()->color(style).value() > 130,
                     qPrintable(text.lexer()->color(style).name()));
        // How far a pixel of a 24-pixel glyph on the window's colour is from
        // that colour in grey level: the pins of Simulate (x 7.3 to 8.7 at
        // y 4) and the middle of Pause's left bar.
        QColor background = QApplication::palette().color(QPalette::Window);
        auto standsOut = [&](QAction* command, QIcon::Mode mode, int x, int y) {
            QColor pixel =
                command->icon().pixmap(QSize(24, 24), 1.0, mode).toImage().pixelColor(x, y);
            double alpha = pixel.alphaF();
            return std::abs(qGray(pixel.rgb()) * alpha + qGray(background.rgb()) * (1 - alpha) -
                            qGray(background.rgb()));
        };
        auto& c = window->Commands();
        QVERIFY(standsOut(c.actSimulate, QIcon::Normal, 8, 4) > 60);
        QVERIFY(standsOut(c.actPause, QIcon::Disabled, 7, 12) <
                standsOut(c.actPause, QIcon::Normal, 7, 12) / 2);
        window.Dialogs.Settings = [](ISettingsStore& settings) {
            WriteInteger(settings, "Options", "Theme", 1);
            return true;
        };
        Press(window, window->Commands().actSettings);
        QCOMPARE(text.lexer()->paper(0), QColor(Qt::white));

        for (Qt::Key key : {Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus})
            QTest::keyClick(&text, key, Qt::ControlModifier);
        QCOMPARE(text.SendScintilla(Sci::SCI_GETZOOM), 1L);
        QWheelEvent wheel(QPointF(20, 20), text.mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(text.viewport(), &wheel);
        QCOMPARE(text.SendScintilla(Sci::SCI_GETZOOM), 2L);
    }
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
            Step(window);
            for (int i = 0; i < watched.size(); ++i)
                QVERIFY2(TChangeMarks::IsMarked(*watched[i]) == afterStep[step][i],
                         qPrintable(QStringLiteral("step %1, widget %2").arg(step).arg(i)));
        }
    }

    void CodeMemoryAndCallStackFollowTheProgram() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        TDocument& document = StartSimulation(
            window, "calls.psm",
            "start: CALL routine\r\n  JUMP start\r\nroutine: LOAD s0, $12\r\n  RET\r\n");
        QVERIFY(window->CodeMemoryDock->isVisible() && window->CallStackDock->isVisible());
        TCodeMemoryView& code = Panels(window).CodeMemory();
        auto row = [&](int address) {
            QStringList cells;
            for (int column = 0; column < TCodeMemoryView::colCount; ++column)
                cells << code.CellText(address, TCodeMemoryView::TColumn(column));
            return cells;
        };
        QCOMPARE(row(0), QStringList({"\u25B6", "$000", "$30002", "start", "CALL $002"}));
        // The mark column is in view and the instructions are not cut off.
        auto cell = [&](int address, int column) {
            return code.visualRect(code.model()->index(address, column));
        };
        QRect shown = code.viewport()->rect();
        QVERIFY(shown.contains(cell(0, TCodeMemoryView::colMark)));
        QVERIFY(shown.contains(cell(2, TCodeMemoryView::colInstruction)));
        QVERIFY(cell(2, TCodeMemoryView::colInstruction).width() >
                code.fontMetrics().horizontalAdvance("LOAD s0, $12"));

        Step(window);
        QCOMPARE(row(2), QStringList({"\u25B6", "$002", "$00012", "routine", "LOAD s0, $12"}));
        TCallStackView& stack = Panels(window).CallStack();
        QCOMPARE(stack.topLevelItemCount(), 1);
        auto* entry = stack.topLevelItem(0);
        QCOMPARE(QStringList({entry->text(0), entry->text(1), entry->text(2)}),
                 QStringList({"$001", "start+1", "line 2: JUMP start"}));

        // Animate marks the current row as it goes.
        window->Commands().RunSpeed().actSpeedAnimate->trigger();
        window->Commands().RunSpeed().SetAnimateRate(50);
        bool marked = false;
        DuringRun(window, 150, [&] {
            marked = code.CellText(Simulator(window).PC(), TCodeMemoryView::colMark)
                         .startsWith("\u25B6");
            window->Commands().actPause->trigger();
        });
        Press(window, window->Commands().actRun);
        QVERIFY(marked);

        // A click in the mark column sets a breakpoint, a double click goes
        // to the source line.
        QRect mark = code.visualRect(code.model()->index(3, TCodeMemoryView::colMark));
        QTest::mouseClick(code.viewport(), Qt::LeftButton, Qt::NoModifier, mark.center());
        QVERIFY(Simulator(window).LineInfo(4) & liBreakpoint);
        QVERIFY(code.CellText(3, TCodeMemoryView::colMark).endsWith("\u25CF"));
        QRect word = code.visualRect(code.model()->index(1, TCodeMemoryView::colWord));
        QTest::mouseClick(code.viewport(), Qt::LeftButton, Qt::NoModifier, word.center());
        QTest::mouseDClick(code.viewport(), Qt::LeftButton, Qt::NoModifier, word.center());
        QCOMPARE(document.GetCaretPos().Line, 2);

        Press(window, window->Commands().actSimulate);
        QVERIFY(!window->CodeMemoryDock->isVisible());
        QCOMPARE(stack.topLevelItemCount(), 0);
    }

    // Calls and instructions per routine after a run, counted by hand: the
    // main program runs LOAD and twice CALL, SUB, JUMP; inner twice LOAD, RET.
    void TheProfileViewAfterARun() {
        TTestWindow window;
        TDocument& document = StartSimulation(
            window, "profile.psm",
            Lines({"start: LOAD s0, 2", "again: CALL inner", "SUB s0, 1", "JUMP NZ, again",
                   "stop: JUMP stop", "inner: LOAD s1, s0", "RET"}));
        // The view counts while it is shown (counting slows a run down).
        window->show();
        window->ProfileDock->raise();
        QVERIFY(QTest::qWaitFor([&] { return Panels(window).Profile().isVisible(); }));
        document.SetCaretPos({5, 1});
        Press(window, window->Commands().actSetBreakpoint);
        Press(window, window->Commands().actRun);
        TProfileView& profile = Panels(window).Profile();
        auto rows = [&] {
            QStringList rows;
            for (int row = 0; row < profile.topLevelItemCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < profile.columnCount(); ++column)
                    cells << profile.topLevelItem(row)->text(column);
                rows << cells.join(' ');
            }
            return rows;
        };
        QCOMPARE(rows(), QStringList({"start 1 11 100.0 7 63.6", "inner 2 4 36.4 4 36.4"}));
        profile.sortByColumn(TProfileView::colExclusive, Qt::AscendingOrder);
        QCOMPARE(rows().value(0).left(5), "inner");
        emit profile.itemDoubleClicked(profile.topLevelItem(0), 0);
        QCOMPARE(document.GetCaretPos().Line, 6);
        // The view is listed with the others; a reset counts afresh.
        window->UpdateCommands();
        QVERIFY(window->actViewProfile->isEnabled() && window->actViewProfile->isChecked());
        Press(window, window->Commands().actReset);
        QCOMPARE(profile.topLevelItemCount(), 1);
        Press(window, window->Commands().actSimulate);
        QCOMPARE(profile.topLevelItemCount(), 0);
    }
};

QTEST_MAIN(DevelopmentAidsTest)
#include "development_aids_test.moc"
