// The log pane: its line limit, its colours and the jump to a source line.
#include "gui_test_support.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"
#include "simulation_test_support.h"

#include <QSplitter>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kAqua(0x00, 0xFF, 0xFF);
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kRed(0xFF, 0x00, 0x00);

void DoubleClickLine(TLogPane& log, int line) {
    long position = log.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    int x = static_cast<int>(
        log.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0L, position));
    int y = static_cast<int>(
        log.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0L, position));
    QTest::mouseDClick(log.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x + 2, y + 4));
}
} // namespace

class LogPaneTest : public QObject {
    Q_OBJECT

private slots:
    void KeepsTheLast101Lines() {
        TLogPane log;
        for (int i = 1; i <= 101; ++i)
            log.AddLogLine("entry " + std::to_string(i));
        QCOMPARE(log.LineCount(), 101);
        QCOMPARE(log.LineText(0), QString("entry 1"));
        log.AddLogLine("entry 102");
        QCOMPARE(log.LineCount(), 101);
        QCOMPARE(log.LineText(0), QString("entry 2"));
        QCOMPARE(log.LineText(100), QString("entry 102"));
    }

    void AnUpdateBracketKeepsTheLimitToo() {
        TLogPane log;
        log.AddLogLine("Line 1: before");
        log.BeginUpdate();
        for (int i = 1; i <= 250; ++i)
            log.AddLogLine("? error " + std::to_string(i));
        QCOMPARE(log.LineCount(), 1);
        log.EndUpdate();
        QCOMPARE(log.LineCount(), 101);
        QCOMPARE(log.LineText(0), QString("? error 150"));
        QCOMPARE(log.LineText(100), QString("? error 250"));
        QCOMPARE(log.LineBackground(0), kRed);
    }

    void LinesAreColouredByTheirPrefix_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("background");
        QTest::newRow("assembler error") << "Line 12: Label not found" << kYellow;
        QTest::newRow("any letter case") << "LINE 3: x" << kYellow;
        QTest::newRow("failure") << "Failure: Can not execute: 'x'" << kAqua;
        QTest::newRow("failure lower case") << "failure: x" << kAqua;
        QTest::newRow("progress") << "!Program is Reset" << kSilver;
        QTest::newRow("error") << "?Include file:'a.psm', line 2: ?Syntax|x" << kRed;
        QTest::newRow("plain") << "Assembler Phase 1: building symbol table" << QColor();
        QTest::newRow("blank before Line") << " Line 12: x" << QColor();
        QTest::newRow("Lines is not Line") << "Lines: 4" << QColor();
    }

    void LinesAreColouredByTheirPrefix() {
        QFETCH(QString, text);
        QFETCH(QColor, background);
        TLogPane log;
        log.AddLogLine("first");
        log.AddLogLine(text.toStdString());
        QCOMPARE(log.LineBackground(1), background);
        QCOMPARE(log.LineBackground(0), QColor());
    }

    void ColoursMoveWithTheirLines() {
        TLogPane log;
        for (int i = 0; i < 101; ++i)
            log.AddLogLine(i % 2 ? "!progress" : "plain");
        log.AddLogLine("plain");
        QCOMPARE(log.LineBackground(0), kSilver);
        QCOMPARE(log.LineBackground(1), QColor());
    }

    void SelectionsCoverWholeLines() {
        TLogPane log;
        for (const char* text : {"first", "second", "third"})
            log.AddLogLine(text);
        int lineFrom = -1, indexFrom = -1, lineTo = -1, indexTo = -1;
        log.setSelection(0, 2, 1, 3);
        log.getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
        QCOMPARE(QList<int>({lineFrom, indexFrom, lineTo, indexTo}), QList<int>({0, 0, 2, 0}));
        log.setSelection(2, 1, 2, 3);
        QCOMPARE(log.selectedText(), QString("third"));
    }

    void TabsBecomeSpacesAndTrailingSpacesGo() {
        TLogPane log;
        log.AddLogLine("a\tbc\td   ");
        QCOMPARE(log.LineText(0), QString("a   bc  d"));
        log.AddLogLine("two\r\nlines");
        QCOMPARE(log.LineCount(), 2);
    }

    void SourceLineOfALogLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::newRow("number") << "Line 12: Label not found" << 12;
        QTest::newRow("lower case") << "line 7: x" << 7;
        QTest::newRow("no number") << "Line : x" << 1;
        QTest::newRow("zero") << "Line 0: x" << 1;
        QTest::newRow("too big") << "Line 99999999999: x" << 1;
        QTest::newRow("include error") << "?Include file:'a', line 3: x" << 0;
        QTest::newRow("blank before") << " Line 4: x" << 0;
    }

    void SourceLineOfALogLine() {
        QFETCH(QString, text);
        QFETCH(int, line);
        QCOMPARE(TLogPane::SourceLineOf(text), line);
    }

    void DoubleClickMovesTheActiveDocumentsCaret() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        window->actFileNew->trigger();
        QString text;
        for (int i = 1; i <= 30; ++i)
            text += QStringLiteral("line %1 text\r\n").arg(i);
        window.Active().TextControl()->insert(text);
        window.Active().SetCaretPos({2, 4});
        TLogPane& log = *window->LogPane();
        log.AddLogLine("?Include file:'x.psm', line 20: ?Syntax");
        log.AddLogLine("Line 12: Label not found");
        int count = log.LineCount();

        DoubleClickLine(log, count - 2);
        QCOMPARE(window.Active().GetCaretPos(), (TCaretPos{2, 4}));
        DoubleClickLine(log, count - 1);
        QCOMPARE(window.Active().GetCaretPos(), (TCaretPos{12, 1}));
    }

    // In a pane two and a half lines high the first click of a double click
    // on the partly shown line scrolls; the line under the mouse decides.
    // After F12 the newest lines show, also when the panels of a simulation
    // squeeze the pane.
    void AShortPaneFollowsTheMouseAndTheNewestLines() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        TLogPane& log = *window->LogPane();
        int lineHeight = static_cast<int>(log.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0L));
        QList<int> sizes = window->Splitter->sizes();
        int paneHeight = lineHeight * 5 / 2 + 2 * log.frameWidth();
        window->Splitter->setSizes({sizes[0] + sizes[1] - paneHeight, paneHeight});
        window->actFileNew->trigger();
        window.Active().TextControl()->insert(QString(40, '\n'));
        long first = log.LineCount();
        for (int i = 1; i <= 20; ++i)
            log.AddLogLine("Line " + std::to_string(i) + ": x");
        log.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, first + 9);
        // As the window system sends it: press, release, double click.
        QPoint partlyShown(8, 2 * lineHeight + lineHeight / 4);
        QTest::mousePress(log.viewport(), Qt::LeftButton, Qt::NoModifier, partlyShown);
        QTest::mouseRelease(log.viewport(), Qt::LeftButton, Qt::NoModifier, partlyShown);
        QTest::mouseDClick(log.viewport(), Qt::LeftButton, Qt::NoModifier, partlyShown);
        QCOMPARE(window.Active().GetCaretPos().Line, 12);

        StartSimulation(window, "wide.psm", "loop: JUMP loop\r\n");
        Settle(*window);
        QTest::qWait(50);
        first = log.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
        long shown = log.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
        QVERIFY2(first + shown >= log.LineCount(), qPrintable(QString::number(first)));
    }
};

QTEST_MAIN(LogPaneTest)
#include "log_pane_test.moc"
