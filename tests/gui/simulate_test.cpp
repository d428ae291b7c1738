// Simulate (F12): a good program enters Simulate mode with its listing in
// the gutter, a bad one Errors mode with the caret on the first bad line;
// Format and Import rewrite the text through the formatter.
#include "gui_test_support.h"
#include "shell/commands.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/icons.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"

#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

const char* kGoodProgram = "; count\r\n"
                           "start:  LOAD s0, 1\r\n"
                           "        ADD s0, s0\r\n"
                           "        JUMP start\r\n";

const char* kBadProgram = "start:  LOAD s0, 1\r\n"
                          "        LOAD s0, nowhere\r\n"
                          "        JUMP start\r\n"
                          "        JUMP elsewhere\r\n";

TEditor& Open(TTestWindow& window, const char* name, const char* text) {
    window->OpenDocument(WriteFile(window.Settings.Folder(), name, text));
    window->UpdateCommands();
    return window.Active();
}

void PressSimulate(TTestWindow& window) {
    window->UpdateCommands();
    QVERIFY(window->Commands().actSimulate->isEnabled());
    window->Commands().actSimulate->trigger();
    window->UpdateCommands();
}

} // namespace

class SimulateTest : public QObject {
    Q_OBJECT

private slots:
    void AGoodProgramEntersSimulateMode() {
        TTestWindow window;
        TEditor& document = Open(window, "good.psm", kGoodProgram);
        int logStart = window->LogPane()->LineCount();
        PressSimulate(window);
        QCOMPARE(document.Mode(), dmSimulate);
        auto* text = document.TextControl();
        QVERIFY(text->isReadOnly());
        QVERIFY(!text->LineNumbersShown());
        QCOMPARE(text->ListingText(1), QString("$00 $0001"));
        QCOMPARE(text->ListingText(3), QString("$02 $8100"));
        QCOMPARE(
            LogLines(*window).mid(logStart),
            QStringList({"Assembler Phase 1: building symbol table",
                         "Assembler Phase 2: constructing opcodes",
                         "Assembler Phase 3: building simulation objects", "!Program is Reset"}));
        // Paused at address 0: its line is the current line.
        QCOMPARE(document.CurrentLine(), 2);
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 1}));
        QCOMPARE(text->LineColourAt(1), TLineColour::Current);
        QCOMPARE(text->LineGlyphAt(1), static_cast<int>(TLineGlyph::Current));
        QCOMPARE(text->LineGlyphAt(2), static_cast<int>(TLineGlyph::Code));
        QCOMPARE(text->LineGlyphAt(0), -1);
        QCOMPARE(window->StatusPanelText(3), QString(" Instructions: 0"));
        QCOMPARE(window->StatusPanelText(4), QString(" Time : 0ns"));
        QCOMPARE(window->StatusPanelText(5), QString(" PC: $00"));
        QVERIFY(window->Commands().actSimulate->isChecked());
        QCOMPARE(window->Commands().actSimulate->toolTip(), QString("Back to Edit mode"));
        QVERIFY(!window->Commands().actFileClose->isEnabled());
        QVERIFY(!window->Commands().actFormat->isEnabled());

        // A click in the gutter sets a breakpoint on a line with code.
        emit text->marginClicked(TSourceEditor::kGlyphMargin, 2, Qt::NoModifier);
        QCOMPARE(text->LineColourAt(2), TLineColour::Breakpoint);
        QCOMPARE(text->LineGlyphAt(2), static_cast<int>(TLineGlyph::CodeBreakpoint));
        emit text->marginClicked(TSourceEditor::kGlyphMargin, 0, Qt::NoModifier);
        QCOMPARE(text->LineGlyphAt(0), -1);

        // Typing is impossible; back to Edit mode with F12.
        QTest::keyClicks(text, "xyz");
        QVERIFY(!document.Modified());
        PressSimulate(window);
        QCOMPARE(document.Mode(), dmEdit);
        QVERIFY(!text->isReadOnly());
        QVERIFY(text->LineNumbersShown());
        QCOMPARE(window->Commands().actSimulate->toolTip(), QString("Assemble & Simulate"));
        QCOMPARE(text->LineColourAt(1), TLineColour::Normal);
        QCOMPARE(text->LineGlyphAt(2), -1);
        QCOMPARE(window->StatusPanelText(4), QString());
    }

    void ABadProgramShowsItsErrors() {
        TTestWindow window;
        TEditor& document = Open(window, "bad.psm", kBadProgram);
        int logStart = window->LogPane()->LineCount();
        PressSimulate(window);
        QCOMPARE(document.Mode(), dmErrors);
        QCOMPARE(document.GetCaretPos(), (TCaretPos{2, 1}));
        auto* text = document.TextControl();
        QVERIFY(!text->isReadOnly());
        QVERIFY(!text->LineNumbersShown());
        QVERIFY(text->ListingText(1).startsWith('?'));
        QVERIFY(text->ListingText(3).startsWith('?'));
        QVERIFY(!text->ListingText(0).startsWith('?'));
        QStringList log = LogLines(*window).mid(logStart);
        QCOMPARE(log.size(), 4);
        QCOMPARE(log[1], QString("Assembler Phase 2: constructing opcodes"));
        QVERIFY(log[2].startsWith("Line 2: "));
        QVERIFY(log[3].startsWith("Line 4: "));
        QVERIFY(window->Commands().actSimulate->isChecked());

        // The log's error line leads back to the source line.
        document.SetCaretPos({1, 3});
        emit window->LogPane()->SourceLineRequested(TLogPane::SourceLineOf(log[3]));
        QCOMPARE(document.GetCaretPos(), (TCaretPos{4, 1}));

        PressSimulate(window);
        QCOMPARE(document.Mode(), dmEdit);
        QVERIFY(text->LineNumbersShown());
    }

    void TheExecCommandStartsAfterASuccessfulAssembly() {
        TTestWindow window;
        TEditor& document = Open(window, "exec.psm", "EXEC \"true\"\r\nLOAD s0, 1\r\n");
        PressSimulate(window);
        QCOMPARE(document.Mode(), dmSimulate);
        QVERIFY(LogLines(*window).contains("!Executing: 'true'"));
    }

    void F12ReachesTheCommandFromTheKeyboard() {
        TTestWindow window;
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*window));
        TEditor& document = Open(window, "keys.psm", kGoodProgram);
        document.TextControl()->setFocus();
        QTest::keyClick(document.TextControl(), Qt::Key_F12);
        QCOMPARE(document.Mode(), dmSimulate);
        QTest::keyClick(document.TextControl(), Qt::Key_F12);
        QCOMPARE(document.Mode(), dmEdit);
    }

    void ModifyingASimulatedTextReturnsItToEditMode() {
        TTestWindow window;
        TEditor& document = Open(window, "good.psm", kGoodProgram);
        PressSimulate(window);
        QCOMPARE(document.Mode(), dmSimulate);
        document.SetModified(true);
        QCOMPARE(document.Mode(), dmEdit);
    }

    void AnotherDocumentTakingFocusEndsTheSimulation() {
        TTestWindow window;
        TEditor& first = Open(window, "first.psm", kGoodProgram);
        PressSimulate(window);
        QCOMPARE(first.Mode(), dmSimulate);
        window->actFileNew->trigger();
        QCOMPARE(first.Mode(), dmEdit);
        QVERIFY(first.TextControl()->LineNumbersShown());
    }

    void TheDocumentsCoreDecides() {
        TTestWindow window;
        TEditor& document = Open(window, "core.psm", "COMP s0, 1\r\n");
        PressSimulate(window); // PicoBlaze I has no COMP
        QCOMPARE(document.Mode(), dmErrors);
        PressSimulate(window);
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        PressSimulate(window);
        QCOMPARE(document.Mode(), dmSimulate);
        QCOMPARE(document.TextControl()->ListingText(0), QString("$000 $14001"));
    }

    void FormatLaysTheLinesOut() {
        TTestWindow window;
        TEditor& document = Open(window, "fmt.psm", "loop: load S3, $f ;count\r\n  add s1,1\r\n");
        window->Commands().actFormat->trigger();
        QStringList lines = document.TextControl()->text().split("\r\n");
        QCOMPARE(lines[0], QString("loop:               LOAD      s3, $0F             ; count"));
        QCOMPARE(lines[1].trimmed(), QString("ADD       s1, 1"));
        QVERIFY(document.Modified());
        // One undo step restores the text.
        document.Undo();
        QCOMPARE(document.TextControl()->text(),
                 QString("loop: load S3, $f ;count\r\n  add s1,1\r\n"));
    }

    void ImportConvertsAKcpsmSource() {
        TTestWindow window;
        QString file = WriteFile(window.Settings.Folder(), "kcpsm.psm",
                                 "CONSTANT max, FF\r\nstart: LOAD s0, 0A ; set\r\nADDCY s1, 01\r\n"
                                 "CONSTANT Max, 01\r\n");
        window.Dialogs.OpenFileNames = {file};
        window->actImport->trigger();
        TEditor& document = window.Active();
        QCOMPARE(document.FileName(), file);
        QVERIFY(document.Modified());
        // The rename heads the text and goes to the log pane.
        QVERIFY(LogLines(*window).contains("!Import renamed constant Max -> Max_1"));
        QStringList lines = document.TextControl()->text().split("\r\n").mid(2);
        QVERIFY2(lines[0].startsWith("max") && lines[0].contains("EQU") && lines[0].contains("$FF"),
                 qPrintable(lines[0]));
        QVERIFY2(lines[1].contains("LOAD") && lines[1].contains("s0, 10"), qPrintable(lines[1]));
        QVERIFY2(lines[2].contains("ADDC") && lines[2].contains("s1, 1"), qPrintable(lines[2]));
        QCOMPARE(window->Commands().RecentFiles().Count(), 0);
        // The file itself is unchanged until the document is saved.
        QCOMPARE(ReadFile(file).substr(0, 8), std::string("CONSTANT"));
    }
};

QTEST_MAIN(SimulateTest)
#include "simulate_test.moc"
