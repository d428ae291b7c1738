// Documents: untitled numbers, opening, the save question, the bytes a file
// is saved with, dropped files, bookmarks; and the log pane that leads back
// to a document's lines.
#include "gui_test_support.h"

using namespace korvo;
using namespace korvo::test;

namespace {

QStringList TabTitles(TMainWindow& window) {
    QStringList titles;
    for (int i = 0; i < window.PageControlEdit->count(); ++i)
        titles << window.PageControlEdit->tabText(i);
    return titles;
}

void Type(TDocument& document, const QString& text) {
    document.TextControl()->insert(text);
}

void CloseActive(TTestWindow& window) {
    window.Active().Close();
    Settle(*window);
}

void DropFiles(TDocument& document, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    QWidget* target = document.TextControl()->viewport();
    // A drop reaches only the widget that accepted the drag entering it.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

struct TBytesRow {
    const char* Name;
    const char* Read;
    const char* Saved = nullptr; // nullptr: as read
};
const TBytesRow kBytesRows[] = {
    {"utf-8", "; Gr\xC3\xB6\xC3\x9F"
              "e\r\nLOAD s0, 1\r\n"},
    {"four-byte utf-8", "; \xF0\x9F\x98\x80\r\n"},
    {"latin-1", "; Gr\xF6\xDF"
                "e\r\n"},
    {"latin-1 upper half", "\x80\x9F\xA0\xFF\r\n"},
    {"broken utf-8 stays bytes", "; \xC3\x28 \xFF\r\n"},
    {"overlong utf-8 stays bytes", "\xC0\xAF\r\n"},
    {"a surrogate stays bytes", "\xED\xA0\x80\r\n"},
    {"beyond the last code point stays bytes", "\xF4\x90\x80\x80\r\n"},
    {"cut-short utf-8 stays bytes", "a\xE2\x82\r\n"},
    {"line ends become CR LF", "a\nb\rc\r\n", "a\r\nb\r\nc\r\n"},
    {"last line gets its line end", "a\r\nb", "a\r\nb\r\n"},
    {"empty lines kept", "\r\n\r\nx\r\n\r\n"},
    {"empty file", ""},
    {"trailing blanks kept", "x   \r\n"},
};

const QColor kYellow(0xFF, 0xFF, 0x00), kAqua(0x00, 0xFF, 0xFF), kSilver(0xC0, 0xC0, 0xC0),
    kRed(0xFF, 0x00, 0x00), kAmber(0xFF, 0xB3, 0x47), kPaleAmber(0xFF, 0xE9, 0xC2);

// Name, log line, its background, the source line it names (0: none).
using TLogLineRow = std::tuple<const char*, const char*, QColor, int>;
const TLogLineRow kLogLineRows[] = {
    {"assembler error", "Line 12: Label not found", kYellow, 12},
    {"any letter case", "LINE 3: x", kYellow, 3},
    {"checker warning", "Line 7: warning: label lost is never used", kAmber, 7},
    {"checker note", "Line 9: note: called from here", kPaleAmber, 9},
    {"checker error", "Line 4: error: return stack overflow", kYellow, 4},
    {"warning of another file", "warning: no line", kAmber, 0},
    {"warning text later", "Line 5: x warning: y", kYellow, 5},
    {"no number", "Line : x", kYellow, 1},
    {"zero", "Line 0: x", kYellow, 1},
    {"too big", "Line 99999999999: x", kYellow, 1},
    {"failure", "Failure: Can not execute: 'x'", kAqua, 0},
    {"failure lower case", "failure: x", kAqua, 0},
    {"progress", "!Program is Reset", kSilver, 0},
    {"error", "?Include file:'a.psm', line 2: ?Syntax|x", kRed, 0},
    {"plain", "Assembler Phase 1: building symbol table", QColor(), 0},
    {"blank before Line", " Line 12: x", QColor(), 0},
    {"Lines is not Line", "Lines: 4", QColor(), 0},
};

} // namespace

class DocumentsTest : public QObject {
    Q_OBJECT

private slots:
    void UntitledNumbersAreReusedAndClosingTheWindowAsksEachModifiedOne() {
        TTestWindow window;
        window->actFileNew->trigger();
        window->actFileNew->trigger();
        window->Documents().Get(0)->Close();
        Settle(*window);
        window->actFileNew->trigger();
        QCOMPARE(TabTitles(*window), QStringList({"Untitled2", "Untitled1"}));
        // The number an opened file took for a moment is free again.
        window->OpenDocument(window.File("prog.psm", "LOAD s0, 1\r\n"));
        window->Documents().Get(2)->Close();
        Settle(*window);
        window->actFileNew->trigger();
        QCOMPARE(TabTitles(*window), QStringList({"Untitled2", "Untitled1", "Untitled3"}));
        window->Documents().Get(2)->Close();
        Settle(*window);
        for (int i = 0; i < 2; ++i)
            window->Documents().Get(i)->TextControl()->insert("x");
        window.Dialogs.SaveAnswers = {TSaveAnswer::No, TSaveAnswer::Cancel};
        QVERIFY(!window->close());
        QCOMPARE(window.Dialogs.SaveQuestions,
                 QStringList({"Save modified: \"Untitled1\"?", "Save modified: \"Untitled2\"?"}));
        QCOMPARE(window->Documents().Count(), 2);
        window.Dialogs.SaveAnswers = {TSaveAnswer::No, TSaveAnswer::No};
        QVERIFY(window->close());
    }

    void AnOpenFileIsOpenedOnce() {
        TTestWindow window;
        QString file = window.File("Prog.psm", "LOAD s0, 1\r\n");
        window->OpenDocument(file);
        window->actFileNew->trigger();
        window->OpenDocument(
            file.toUpper().replace(window.Settings.Folder().toUpper(), window.Settings.Folder()));
        QCOMPARE(window->Documents().Count(), 2);
        QCOMPARE(window.Active().FileName(), file);
        // Two files that differ in letter case are two documents.
        window->OpenDocument(window.File("a.psm", "; lower\r\n"));
        window->OpenDocument(window.File("A.psm", "; upper\r\n"));
        QCOMPARE(window->Documents().Count(), 4);
        QCOMPARE(window.Active().TextControl()->text(), "; upper\r\n");
    }

    void FileDialogsStartInTheActiveDocumentsFolderElseTheLastUsed() {
        TTestWindow window;
        QString folder = window.Settings.Folder();
        QString top = window.File("top.psm", "\r\n");
        QDir(folder).mkdir("sub");
        window.Dialogs.OpenFileNames = {window.File("sub/sub.psm", "\r\n")};
        for (int step = 0; step < 3; ++step) {
            if (step == 1) window->OpenDocument(top);
            if (step == 2) window->Documents().CloseAll(false);
            Settle(*window);
            window->actFileOpen->trigger();
        }
        QCOMPARE(window.Dialogs.OpenStartNames, QStringList({"", folder + "/", folder + "/sub/"}));
        // An example opens as the user's copy, beside the others.
        QByteArray home = qgetenv("HOME");
        qputenv("HOME", folder.toLocal8Bit());
        window.Dialogs.OpenFileNames = {KORVO_EXAMPLES_DIR "/blink.psm"};
        window->actFileOpenExample->trigger();
        qputenv("HOME", home);
        QString copies = folder + "/Documents/Korvo IDE examples";
        QCOMPARE(window.Active().FileName(), copies + "/blink.psm");
        QVERIFY(QFileInfo(copies + "/stimulus_values.txt").isWritable());
        QCOMPARE(LogLines(*window).last(2).first(), "Copied the examples to " + copies);
    }

    void TheSaveQuestionOnClose() {
        TTestWindow window;
        QString file = window.File("keep.psm", "LOAD s0, 1\r\n");
        window->OpenDocument(file);
        Type(window.Active(), "; new\r\n");
        window.Dialogs.SaveAnswers = {TSaveAnswer::Cancel, TSaveAnswer::No};
        CloseActive(window);
        QCOMPARE(window->Documents().Count(), 1);
        QCOMPARE(window.Dialogs.SaveQuestions, QStringList({"Save modified: \"keep.psm\"?"}));
        CloseActive(window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(ReadFile(file), "LOAD s0, 1\r\n");

        window->OpenDocument(file);
        Type(window.Active(), "; new\r\n");
        window.Dialogs.SaveAnswers = {TSaveAnswer::Yes};
        CloseActive(window);
        QCOMPARE(ReadFile(file), "; new\r\nLOAD s0, 1\r\n");
        QCOMPARE(window->Commands().RecentFiles().Get(0), file);
        // An untitled document stays when the name is not given.
        window->actFileNew->trigger();
        Type(window.Active(), "LOAD s0, 1");
        window.Dialogs.SaveAnswers = {TSaveAnswer::Yes, TSaveAnswer::Yes};
        CloseActive(window);
        QCOMPARE(window->Documents().Count(), 1);
        QString chosen = QDir(window.Settings.Folder()).filePath("saved.psm");
        window.Dialogs.SaveFileNames = {chosen};
        CloseActive(window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(ReadFile(chosen), "LOAD s0, 1\r\n");
    }

    void SaveAsNamesTheDocument() {
        TTestWindow window;
        window->actFileNew->trigger();
        QVERIFY(!window.Active().Highlighter());
        Type(window.Active(), "LOAD s0, 1");
        QString chosen = QDir(window.Settings.Folder()).filePath("named.PSM");
        window.Dialogs.SaveFileNames = {chosen};
        QVERIFY(window.Active().SaveAs());
        QVERIFY(window.Active().Highlighter());
        QVERIFY(!window.Active().Modified());
        QCOMPARE(TabTitles(*window), QStringList{"named.PSM"});
        // A file that cannot be written leaves the document modified.
        Type(window.Active(), "x");
        window.Dialogs.SaveFileNames = {QDir(window.Settings.Folder()).filePath("no/dir.psm")};
        QVERIFY(!window.Active().SaveAs());
        QCOMPARE(window.Dialogs.Errors.size(), 1);
        QVERIFY(window.Active().Modified());
    }

    void TextIsSavedAsTheBytesItWasReadFrom_data() { AddRows(kBytesRows); }

    void TextIsSavedAsTheBytesItWasReadFrom() {
        const TBytesRow& row = Row(kBytesRows);
        TTestWindow window;
        QString file = window.File("bytes.psm", row.Read);
        window->OpenDocument(file);
        window.Active().SetModified(true);
        QVERIFY(window.Active().Save());
        QCOMPARE(QByteArray::fromStdString(ReadFile(file)), row.Saved ? row.Saved : row.Read);
    }

    void Latin1TextShowsAndTakesAnyCharacter() {
        TTestWindow window;
        QString file = window.File("latin.psm", "; \xE9t\xE9\r\n");
        window->OpenDocument(file);
        QCOMPARE(window.Active().TextControl()->text(), QString::fromUtf8("; été\r\n"));
        QCOMPARE(window.Active().SourceLines(), std::vector<std::string>({"; \xE9t\xE9"}));
        // What Latin-1 cannot hold makes the file UTF-8.
        window.Active().TextControl()->setCursorPosition(0, 5);
        Type(window.Active(), QString::fromUtf8("€"));
        QVERIFY(window.Active().Save());
        QCOMPARE(ReadFile(file), "; \xC3\xA9t\xC3\xA9\xE2\x82\xAC\r\n");
    }

    void OneDroppedFileReplacesAnUnmodifiedText() {
        TTestWindow window;
        QString original = window.File("original.psm", "; original\r\n");
        QString dropped = window.File("dropped.psm", "a\r\nb\r\n");
        window->OpenDocument(original);
        TDocument& document = window.Active();
        DropFiles(document, {dropped, original});
        QCOMPARE(document.TextControl()->text(), "; original\r\n");
        DropFiles(document, {dropped});
        QCOMPARE(document.TextControl()->text(), "a\r\nb\r\n");
        QCOMPARE(document.FileName(), original);
        QVERIFY(!document.Modified());
        Type(document, "x");
        DropFiles(document, {original});
        QCOMPARE(document.TextControl()->text(), "xa\r\nb\r\n");
    }

    // A click anywhere in the gutter of Simulate mode toggles the line's
    // breakpoint; a bookmark never paints over the simulation glyph.
    void TheGutterTogglesBreakpointsAndKeepsGlyphsApart() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        auto* text =
            StartSimulation(window, "gutter.psm", "LOAD s0, 1\r\nJUMP 0\r\n").TextControl();
        int height = static_cast<int>(text->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0L));
        // Simulate mode shows no line numbers: the listing starts the gutter.
        int listing =
            static_cast<int>(text->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 1L));
        for (int x : {3, listing + 3}) {
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(x, height * 3 / 2));
            QVERIFY2(Simulator(window).LineInfo(2) & liBreakpoint, qPrintable(QString::number(x)));
            Simulator(window).ToggleBreakpoint(2);
        }
        Simulator(window).ToggleBreakpoint(1);
        QRect glyphs(listing, 0, 18, height);
        QImage glyph = text->viewport()->grab(glyphs).toImage();
        QImage whole = text->viewport()->grab().toImage();
        text->ToggleBookmark(3);
        QCOMPARE(text->viewport()->grab(glyphs).toImage(), glyph);
        QVERIFY(text->viewport()->grab().toImage() != whole);
    }

    void TheLogKeepsItsLast101LinesWithTheirColours() {
        TLogPane log;
        log.AddLogLine("Line 1: before");
        for (int i = 1; i <= 100; ++i)
            log.AddLogLine(i % 2 ? "plain" : "!progress");
        QCOMPARE(log.LineText(0), "Line 1: before");
        // One line per entry, tabs to columns of four, no blanks at the end.
        log.AddLogLine("two\r\nlines\twith a tab   ");
        QCOMPARE(log.LineCount(), 101);
        QCOMPARE(log.LineText(0), "plain");
        QCOMPARE(log.LineBackground(0), QColor());
        QCOMPARE(log.LineBackground(1), kSilver);
        QCOMPARE(log.LineText(100), "two lines   with a tab");
        // Selections cover whole lines.
        int lineFrom = -1, indexFrom = -1, lineTo = -1, indexTo = -1;
        log.setSelection(0, 2, 1, 3);
        log.getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
        QCOMPARE(QList<int>({lineFrom, indexFrom, lineTo, indexTo}), QList<int>({0, 0, 2, 0}));
        // Within an update bracket too.
        log.BeginUpdate();
        for (int i = 1; i <= 250; ++i)
            log.AddLogLine("? error " + std::to_string(i));
        QCOMPARE(log.LineText(100), "two lines   with a tab");
        log.EndUpdate();
        QCOMPARE(log.LineCount(), 101);
        QCOMPARE(log.LineText(0), "? error 150");
        QCOMPARE(log.LineBackground(0), kRed);
    }

    void LogLinesByTheirPrefix_data() { AddRows(kLogLineRows); }

    void LogLinesByTheirPrefix() {
        const auto& [name, text, background, sourceLine] = Row(kLogLineRows);
        TLogPane log;
        log.AddLogLine("first");
        log.AddLogLine(text);
        QCOMPARE(log.LineBackground(1), background);
        QCOMPARE(log.LineBackground(0), QColor());
        QCOMPARE(TLogPane::SourceLineOf(text), sourceLine);
    }

    // In a pane two and a half lines high the first click of a double click
    // on the partly shown line scrolls; the line under the mouse decides.
    // After F12 the newest lines show, also when the panels of a simulation
    // squeeze the pane.
    void AShortLogPaneFollowsTheMouseAndTheNewestLines() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        TLogPane& log = *window->LogPane();
        int lineHeight = static_cast<int>(log.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0L));
        QList<int> sizes = window->Splitter->sizes();
        int paneHeight = lineHeight * 5 / 2 + 2 * log.frameWidth();
        window->Splitter->setSizes({sizes[0] + sizes[1] - paneHeight, paneHeight});
        window.New(QString(40, '\n'));
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

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"
