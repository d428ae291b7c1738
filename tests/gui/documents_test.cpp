// Documents: titles and untitled numbers, opening, saving, closing with the
// save question, dropped files, and the bytes a file is saved with.
#include "gui_test_support.h"
#include "shell/commands.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/editor_form.h"
#include "shell/icons.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"
#include "simulation_test_support.h"
#include "simulator/debugger.h"

#include <QMimeData>
#include <QTabWidget>
#include <QUrl>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {

QStringList TabTitles(TfrmWorkbookMain& window) {
    QStringList titles;
    for (int i = 0; i < window.PageControlEdit->count(); ++i)
        titles << window.PageControlEdit->tabText(i);
    return titles;
}

void Type(TEditor& document, const QString& text) {
    document.TextControl()->insert(text);
}

void DropFiles(TEditor& document, const QStringList& files) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    data->setUrls(urls);
    QWidget* target = document.TextControl()->viewport();
    // A drop reaches only the widget that accepted the drag entering it.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    delete data;
}

} // namespace

class DocumentsTest : public QObject {
    Q_OBJECT

private slots:
    void UntitledNumbersAreReused() {
        TTestWindow window;
        window->actFileNew->trigger();
        window->actFileNew->trigger();
        QCOMPARE(TabTitles(*window), QStringList({"Untitled1", "Untitled2"}));
        window->Documents().Get(0)->Close();
        Settle(*window);
        QCOMPARE(TabTitles(*window), QStringList({"Untitled2"}));
        window->actFileNew->trigger();
        QCOMPARE(TabTitles(*window), QStringList({"Untitled2", "Untitled1"}));
        QCOMPARE(window.Active().Title(), QString("Untitled1"));
    }

    void NewAndOpenLogTheirTitles() {
        TTestWindow window;
        window->actFileNew->trigger();
        QCOMPARE(LogLines(*window), QStringList({"Created: Untitled1", "Created: Untitled1"}));
        QString file = WriteFile(window.Settings.Folder(), "prog.psm", "LOAD s0, 1\r\n");
        window->OpenDocument(file);
        QCOMPARE(LogLines(*window).mid(2), QStringList({"Created: Untitled2", "Read: prog.psm"}));
        // The number the opened file took for a moment is free again.
        window->actFileNew->trigger();
        QCOMPARE(window.Active().Title(), QString("Untitled2"));
    }

    void OpeningAnOpenFileInOtherLetterCaseOnlyActivatesIt() {
        TTestWindow window;
        QString file = WriteFile(window.Settings.Folder(), "Prog.psm", "LOAD s0, 1\r\n");
        window->OpenDocument(file);
        window->actFileNew->trigger();
        QCOMPARE(window->Documents().Count(), 2);
        int logLines = window->LogPane()->LineCount();
        window->OpenDocument(
            file.toUpper().replace(window.Settings.Folder().toUpper(), window.Settings.Folder()));
        QCOMPARE(window->Documents().Count(), 2);
        QCOMPARE(window->LogPane()->LineCount(), logLines);
        QCOMPARE(window.Active().FileName(), file);
        QCOMPARE(window->PageControlEdit->currentIndex(), 0);
    }

    void TwoFilesThatDifferInLetterCaseStayApart() {
        TTestWindow window;
        QString lower = WriteFile(window.Settings.Folder(), "a.psm", "; lower\r\n");
        QString upper = WriteFile(window.Settings.Folder(), "A.psm", "; upper\r\n");
        window->OpenDocument(lower);
        window->OpenDocument(upper);
        QCOMPARE(window->Documents().Count(), 2);
        QCOMPARE(window.Active().TextControl()->text(), QString("; upper\r\n"));
    }

    void ANameWithAStarIsUntitledWithItsExtension() {
        TTestWindow window;
        window->OpenDocument(QStringLiteral("*.psm"));
        QCOMPARE(window.Active().Title(), QString("Untitled1.psm"));
        QVERIFY(window.Active().Highlighter());
        // Saving it asks for a name.
        Type(window.Active(), "x");
        QVERIFY(!window.Active().Save());
        QCOMPARE(window.Dialogs.SaveFilters.size(), 1);
    }

    void TheSaveQuestionOnClose() {
        TTestWindow window;
        QString file = WriteFile(window.Settings.Folder(), "keep.psm", "LOAD s0, 1\r\n");
        window->OpenDocument(file);
        Type(window.Active(), "; new\r\n");

        window.Dialogs.SaveAnswers = {TSaveAnswer::Cancel};
        window.Active().Close();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 1);
        QCOMPARE(window.Dialogs.SaveQuestions, QStringList({"Save modified: \"keep.psm\"?"}));

        window.Dialogs.SaveAnswers = {TSaveAnswer::No};
        window.Active().Close();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(ReadFile(file), std::string("LOAD s0, 1\r\n"));

        window->OpenDocument(file);
        Type(window.Active(), "; new\r\n");
        window.Dialogs.SaveAnswers = {TSaveAnswer::Yes};
        window.Active().Close();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(ReadFile(file), std::string("; new\r\nLOAD s0, 1\r\n"));
        // Closing puts the file at the top of the recent files.
        QCOMPARE(window->Commands().RecentFiles().Get(0), file);
    }

    void CancellingSaveAsKeepsAnUntitledDocument() {
        TTestWindow window;
        window->actFileNew->trigger();
        Type(window.Active(), "LOAD s0, 1");
        window.Dialogs.SaveAnswers = {TSaveAnswer::Yes};
        window.Active().Close();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 1);
        QCOMPARE(window.Dialogs.SaveFilters, QStringList({"All files|*.*|"}));

        QString chosen = QDir(window.Settings.Folder()).filePath("saved.psm");
        window.Dialogs.SaveAnswers = {TSaveAnswer::Yes};
        window.Dialogs.SaveFileNames = {chosen};
        window.Active().Close();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        QCOMPARE(ReadFile(chosen), std::string("LOAD s0, 1\r\n"));
    }

    void ClosingTheWindowAsksEveryModifiedDocument() {
        TTestWindow window;
        window->actFileNew->trigger();
        Type(window.Active(), "a");
        window->actFileNew->trigger();
        Type(window.Active(), "b");
        window.Dialogs.SaveAnswers = {TSaveAnswer::No, TSaveAnswer::Cancel};
        QVERIFY(!window->close());
        QCOMPARE(window.Dialogs.SaveQuestions,
                 QStringList({"Save modified: \"Untitled2\"?", "Save modified: \"Untitled1\"?"}));
        QCOMPARE(window->Documents().Count(), 2);
        window.Dialogs.SaveAnswers = {TSaveAnswer::No, TSaveAnswer::No};
        QVERIFY(window->close());
    }

    void SaveAsLogsTheNewNameAndPicksTheHighlighter() {
        TTestWindow window;
        window->actFileNew->trigger();
        QVERIFY(!window.Active().Highlighter());
        Type(window.Active(), "LOAD s0, 1");
        QString chosen = QDir(window.Settings.Folder()).filePath("named.PSM");
        window.Dialogs.SaveFileNames = {chosen};
        QVERIFY(window.Active().SaveAs());
        QCOMPARE(LogLines(*window).last(), QString("Read: named.PSM"));
        QVERIFY(window.Active().Highlighter());
        QVERIFY(!window.Active().Modified());
        QCOMPARE(window->PageControlEdit->tabText(0), QString("named.PSM"));
    }

    void TextIsSavedAsTheBytesItWasReadFrom_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("utf-8") << QByteArray("; Gr\xC3\xB6\xC3\x9F"
                                             "e\r\nLOAD s0, 1\r\n")
                               << QByteArray("; Gr\xC3\xB6\xC3\x9F"
                                             "e\r\nLOAD s0, 1\r\n");
        QTest::newRow("latin-1") << QByteArray("; Gr\xF6\xDF"
                                               "e\r\n")
                                 << QByteArray("; Gr\xF6\xDF"
                                               "e\r\n");
        QTest::newRow("broken utf-8 stays bytes")
            << QByteArray("; \xC3\x28 \xFF\r\n") << QByteArray("; \xC3\x28 \xFF\r\n");
        QTest::newRow("line ends become CR LF")
            << QByteArray("a\nb\rc\r\n") << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("last line gets its line end")
            << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\n");
        QTest::newRow("empty lines kept")
            << QByteArray("\r\n\r\nx\r\n\r\n") << QByteArray("\r\n\r\nx\r\n\r\n");
        QTest::newRow("empty file") << QByteArray("") << QByteArray("");
        QTest::newRow("trailing blanks kept") << QByteArray("x   \r\n") << QByteArray("x   \r\n");
    }

    void TextIsSavedAsTheBytesItWasReadFrom() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        TTestWindow window;
        QString file = WriteFile(window.Settings.Folder(), "bytes.psm", bytes.toStdString());
        window->OpenDocument(file);
        window.Active().SetModified(true);
        QVERIFY(window.Active().Save());
        QCOMPARE(QByteArray::fromStdString(ReadFile(file)), saved);
    }

    void Latin1TextShowsItsCharacters() {
        TTestWindow window;
        QString file = WriteFile(window.Settings.Folder(), "latin.psm", "; \xE9t\xE9\r\n");
        window->OpenDocument(file);
        QCOMPARE(window.Active().TextControl()->text(), QString::fromUtf8("; été\r\n"));
        QCOMPARE(window.Active().SourceLines(), std::vector<std::string>({"; \xE9t\xE9"}));
    }

    void TextLatin1CannotHoldIsSavedAsUtf8() {
        TTestWindow window;
        QString file = WriteFile(window.Settings.Folder(), "latin.psm", "; \xE9\r\n");
        window->OpenDocument(file);
        window.Active().TextControl()->setCursorPosition(0, 3);
        Type(window.Active(), QString::fromUtf8("€"));
        QVERIFY(window.Active().Save());
        QCOMPARE(ReadFile(file), std::string("; \xC3\xA9\xE2\x82\xAC\r\n"));
    }

    void ANameThatIsNoFileGivesAnEmptyDocumentOfThatName() {
        TTestWindow window;
        QString missing = QDir(window.Settings.Folder()).filePath("new.psm");
        window->OpenDocument(missing);
        QCOMPARE(window.Active().FileName(), missing);
        QCOMPARE(window.Active().TextControl()->text(), QString());
        QCOMPARE(LogLines(*window).last(), QString("Read: new.psm"));
        window.Active().SetModified(true);
        QVERIFY(window.Active().Save());
        QCOMPARE(ReadFile(missing), std::string());
    }

    void AFileThatCannotBeWrittenStaysModified() {
        TTestWindow window;
        window->actFileNew->trigger();
        Type(window.Active(), "text");
        window.Dialogs.SaveFileNames = {QDir(window.Settings.Folder()).filePath("no/such/dir.psm")};
        QVERIFY(!window.Active().Save());
        QCOMPARE(window.Dialogs.Errors.size(), 1);
        QVERIFY(window.Active().Modified());
    }

    void OneDroppedFileReplacesAnUnmodifiedText() {
        TTestWindow window;
        QString original = WriteFile(window.Settings.Folder(), "original.psm", "; original\r\n");
        QString dropped = WriteFile(window.Settings.Folder(), "dropped.psm", "a\r\nb\r\n");
        window->OpenDocument(original);
        TEditor& document = window.Active();
        document.TextControl()->setCursorPosition(0, 5);

        DropFiles(document, {dropped, original});
        QCOMPARE(document.TextControl()->text(), QString("; original\r\n"));

        DropFiles(document, {dropped});
        QCOMPARE(document.TextControl()->text(), QString("a\r\nb\r\n"));
        QCOMPARE(document.FileName(), original);
        QVERIFY(!document.Modified());
        QCOMPARE(document.GetCaretPos(), (TCaretPos{1, 1}));

        Type(document, "x");
        DropFiles(document, {original});
        QCOMPARE(document.TextControl()->text(), QString("xa\r\nb\r\n"));
    }

    void StatusTexts() {
        TTestWindow window;
        window->actFileNew->trigger();
        TEditor& document = window.Active();
        QString lines;
        for (int i = 0; i < 12; ++i)
            lines += "abcdefgh\r\n";
        Type(document, lines);
        document.SetCaretPos({12, 5});
        QCOMPARE(document.StatusText(1), QString("     12:  5 "));
        QCOMPARE(document.StatusText(2), QString("Modified"));
        QCOMPARE(document.StatusText(3), QString("Insert"));
        document.TextControl()->setOverwriteMode(true);
        QCOMPARE(document.StatusText(3), QString("Overwrite"));
        document.TextControl()->setReadOnly(true);
        QCOMPARE(document.StatusText(3), QString("Read Only"));
        QCOMPARE(document.StatusText(4), QString());
        window->UpdateCommands();
        QCOMPARE(window->StatusPanelText(1), QString("     12:  5 "));
        QCOMPARE(window->StatusPanelText(2), QString("Modified"));
    }

    void ModesShowTheListingInTheGutter() {
        TTestWindow window;
        window->actFileNew->trigger();
        TEditor& document = window.Active();
        Type(document, "a\r\nb\r\nc");
        auto* text = document.TextControl();
        QVERIFY(text->LineNumbersShown());
        document.Form()->ListingLines = {"$00 $0000", "?Syntax", ""};
        document.SetMode(dmErrors);
        QCOMPARE(document.Mode(), dmErrors);
        QVERIFY(!text->LineNumbersShown());
        QCOMPARE(text->ListingText(1), QString("?Syntax"));
        QVERIFY(!text->isReadOnly());
        document.SetMode(dmEdit);
        QVERIFY(text->LineNumbersShown());
        QCOMPARE(text->ListingText(1), QString());
        QVERIFY(document.Listing().isEmpty());
    }

    void TheCurrentLineIsMarkedAndTheCaretFollows() {
        TTestWindow window;
        window->actFileNew->trigger();
        TEditor& document = window.Active();
        Type(document, "a\r\nb\r\nc\r\nd");
        document.SetCaretPos({1, 1});
        document.SetCurrentLine(3);
        QCOMPARE(document.GetCaretPos(), (TCaretPos{3, 1}));
        auto* text = document.TextControl();
        QCOMPARE(text->LineColourAt(2), TLineColour::Current);
        document.SetCurrentLine(4);
        QCOMPARE(text->LineColourAt(2), TLineColour::Normal);
        QCOMPARE(text->LineColourAt(3), TLineColour::Current);
        QCOMPARE(text->LineGlyphAt(3), static_cast<int>(TLineGlyph::Current));
    }

    void BookmarksAreSetAndReachedByKeys() {
        TTestWindow window;
        window->show();
        window->actFileNew->trigger();
        TEditor& document = window.Active();
        Type(document, "a\r\nb\r\nc\r\nd");
        auto* text = document.TextControl();
        document.SetCaretPos({3, 1});
        QTest::keyClick(text, Qt::Key_7, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(text->BookmarkLine(7), 2);
        document.SetCaretPos({1, 1});
        QTest::keyClick(text, Qt::Key_7, Qt::AltModifier);
        QCOMPARE(document.GetCaretPos().Line, 3);
        // Setting it again on its own line removes it.
        QTest::keyClick(text, Qt::Key_Ampersand, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(text->BookmarkLine(7), -1);
    }

    // A click anywhere in the gutter of Simulate mode toggles the line's
    // breakpoint; a bookmark never paints over the simulation glyph.
    void TheGutterTogglesBreakpointsAndKeepsGlyphsApart() {
        TTestWindow window;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        auto* text =
            StartSimulation(window, "gutter.psm", "LOAD s0, 1\r\nJUMP 0\r\n").TextControl();
        using Sci = QsciScintillaBase;
        int height = static_cast<int>(text->SendScintilla(Sci::SCI_TEXTHEIGHT, 0L));
        // Simulate mode shows no line numbers: the listing starts the gutter.
        int listing = static_cast<int>(text->SendScintilla(Sci::SCI_GETMARGINWIDTHN, 1L));
        QRect glyphs(listing, 0, 18, height);
        for (int x : {3, listing + 3}) {
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(x, height * 3 / 2));
            QVERIFY2(Simulator(window).LineInfo(2) & liBreakpoint, qPrintable(QString::number(x)));
            Simulator(window).ToggleBreakpoint(2);
        }
        Simulator(window).ToggleBreakpoint(1);
        QImage glyph = text->viewport()->grab(glyphs).toImage();
        QImage whole = text->viewport()->grab().toImage();
        text->ToggleBookmark(3);
        QCOMPARE(text->viewport()->grab(glyphs).toImage(), glyph);
        QVERIFY(text->viewport()->grab().toImage() != whole);
    }
};

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"
