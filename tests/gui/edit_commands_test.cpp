// The edit commands: comment toggle, enabling rules of the commands (edit
// mode, read-only text, print preview), and the core commands.
#include "gui_test_support.h"
#include "shell/commands.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/main_window.h"
#include "shell/source_editor.h"

#include "common/settings.h"

#include "simulator/debugger.h"

#include <QApplication>
#include <QClipboard>
#include <QPrintPreviewWidget>
#include <QStackedWidget>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

namespace {
// Selects from (line, column) to (line, column), counting from 1.
void Select(TEditor& document, int fromLine, int fromColumn, int toLine, int toColumn) {
    document.TextControl()->setSelection(fromLine - 1, fromColumn - 1, toLine - 1, toColumn - 1);
}
} // namespace

class EditCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void CommentToggle_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("selection");
        QTest::addColumn<QString>("commented");
        QTest::newRow("two whole lines")
            << "a\r\nb\r\nc" << QList<int>{1, 1, 3, 1} << ";a\r\n;b\r\nc";
        QTest::newRow("part of two lines")
            << "ab\r\ncd\r\ne" << QList<int>{1, 1, 2, 2} << ";ab\r\n;cd\r\ne";
        QTest::newRow("one line") << "load s0, 1\r\nx" << QList<int>{1, 1, 1, 5}
                                  << ";load s0, 1\r\nx";
        QTest::newRow("uncomment") << ";a\r\n;b\r\nc" << QList<int>{1, 1, 3, 1} << "a\r\nb\r\nc";
        QTest::newRow("uncomment only lines that have one")
            << ";a\r\nb\r\n;c" << QList<int>{1, 1, 3, 2} << "a\r\nb\r\nc";
        QTest::newRow("first line decides")
            << "a\r\n;b\r\nc" << QList<int>{1, 1, 3, 1} << ";a\r\n;;b\r\nc";
    }

    void CommentToggle() {
        QFETCH(QString, text);
        QFETCH(QList<int>, selection);
        QFETCH(QString, commented);
        TTestWindow window;
        window->actFileNew->trigger();
        TEditor& document = window.Active();
        document.TextControl()->setText(text);
        Select(document, selection[0], selection[1], selection[2], selection[3]);
        window->UpdateCommands();
        QVERIFY(window->Commands().actComment->isEnabled());
        window->Commands().actComment->trigger();
        QCOMPARE(document.TextControl()->text(), commented);
        // The result stays selected, so the command undoes itself.
        window->UpdateCommands();
        QVERIFY(window->Commands().actComment->isEnabled());
        window->Commands().actComment->trigger();
        if (!text.startsWith(';') && !text.contains("\r\n;"))
            QCOMPARE(document.TextControl()->text(), text);
    }

    void NoCommentWithoutASelectionFromColumnOne() {
        TTestWindow window;
        window->actFileNew->trigger();
        TEditor& document = window.Active();
        document.TextControl()->setText("ab\r\ncd");
        Select(document, 1, 2, 2, 1);
        window->UpdateCommands();
        QVERIFY(!window->Commands().actComment->isEnabled());
        document.Comment();
        QCOMPARE(document.TextControl()->text(), QString("ab\r\ncd"));
        document.SetCaretPos({1, 1});
        window->UpdateCommands();
        QVERIFY(!window->Commands().actComment->isEnabled());
    }

    void EditCommandsFollowTheText() {
        TTestWindow window;
        auto& c = window->Commands();
        window->UpdateCommands();
        for (QAction* action :
             {c.actEditCut, c.actEditCopy, c.actEditPaste, c.actEditUndo, c.actEditSelectAll,
              c.actFileSave, c.actFileClose, c.actSearchFind, c.actFormat, c.actSimulate})
            QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
        QVERIFY(window->actFileNew->isEnabled());
        QVERIFY(!window->actFileCloseAll->isEnabled());

        window->actFileNew->trigger();
        window->UpdateCommands();
        QVERIFY(c.actFileSave->isEnabled()); // untitled: can always save
        QVERIFY(c.actEditSelectAll->isEnabled());
        QVERIFY(!c.actEditCopy->isEnabled());
        QVERIFY(!c.actEditUndo->isEnabled());
        QVERIFY(!c.actSearchFind->isEnabled()); // empty text
        QVERIFY(!c.actFilePrint->isEnabled());
        QVERIFY(window->actFileCloseAll->isEnabled());

        window.Active().TextControl()->insert("LOAD s0, 1");
        window.Active().SelectAll();
        window->UpdateCommands();
        QVERIFY(c.actEditCopy->isEnabled());
        QVERIFY(c.actEditCut->isEnabled());
        QVERIFY(c.actEditUndo->isEnabled());
        QVERIFY(c.actSearchFind->isEnabled());
        QVERIFY(c.actFilePrint->isEnabled());
        QVERIFY(!c.actSearchFindNext->isEnabled()); // no search text yet

        c.actEditCopy->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("LOAD s0, 1"));
        window->UpdateCommands();
        QVERIFY(c.actEditPaste->isEnabled());
        window.Active().TextControl()->setReadOnly(true);
        window->UpdateCommands();
        QVERIFY(c.actEditCopy->isEnabled());
        QVERIFY(!c.actEditCut->isEnabled());
        QVERIFY(!c.actEditDelete->isEnabled());
        QVERIFY(!c.actEditPaste->isEnabled());
        QVERIFY(!c.actSearchReplace->isEnabled());
    }

    void PreviewDisablesMostCommands() {
        TTestWindow window;
        window->actFileNew->trigger();
        window.Active().TextControl()->insert("LOAD s0, 1\r\n; comment");
        window.Active().SelectAll();
        auto& c = window->Commands();
        window.Dialogs.PrinterSetupAccepted = false;
        c.actFilePreview->trigger();
        window->UpdateCommands();
        QVERIFY(!c.actFilePreview->isChecked());

        window.Dialogs.PrinterSetupAccepted = true;
        c.actFilePreview->trigger();
        window->UpdateCommands();
        QVERIFY(c.actFilePreview->isChecked());
        QCOMPARE(window->SourceStack->currentWidget(),
                 static_cast<QWidget*>(window->SynEditPrintPreview));
        for (QAction* action :
             {c.actFileSave, c.actFileSaveAs, c.actFileClose, c.actEditCut, c.actEditCopy,
              c.actEditUndo, c.actEditSelectAll, c.actFormat, c.actSearchFind, c.actSearchReplace,
              c.actSimulate, window->actFileNew, window->actFileOpen})
            QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
        for (QAction* action : {c.actFilePrint, c.actFilePreview, c.actComment})
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));

        c.actFilePreview->trigger();
        window->UpdateCommands();
        QVERIFY(!c.actFilePreview->isChecked());
        QCOMPARE(window->SourceStack->currentWidget(),
                 static_cast<QWidget*>(window->PageControlEdit));
        QVERIFY(c.actEditCopy->isEnabled());
    }

    // The dialog proposes a PDF file beside the document.
    void PrintOffersEveryPageAndAFileBesideTheDocument() {
        TTestWindow window;
        QString text;
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral("LOAD s0, %1\r\n").arg(i);
        window->OpenDocument(
            WriteFile(window.Settings.Folder(), "listing.v1.psm", text.toStdString()));
        window->UpdateCommands();
        window->Commands().actFilePrint->trigger();
        QCOMPARE(window.Dialogs.PageCountOffered, 3);
        QCOMPARE(window.Dialogs.PrintFileProposed,
                 QDir(window.Settings.Folder()).filePath("listing.v1.pdf"));
        QCOMPARE(window.Dialogs.PrintJobName, QString("listing.v1.psm"));
    }

    void CoreCommands() {
        TTestWindow window;
        auto& c = window->Commands();
        window->UpdateCommands();
        QVERIFY(c.CoreAction(TCoreKind::pbtI)->isChecked());
        QVERIFY(c.CoreAction(TCoreKind::pbt3)->isEnabled()); // no document
        c.CoreAction(TCoreKind::pbt3)->trigger();
        window->UpdateCommands();
        QVERIFY(c.CoreAction(TCoreKind::pbt3)->isChecked());
        QVERIFY(!c.CoreAction(TCoreKind::pbtI)->isChecked());
        QCOMPARE(window->StatusPanelText(0), QString(" Mode: Picoblaze-3"));

        window->actFileNew->trigger();
        QCOMPARE(window.Active().Simulator()->CoreKind(), TCoreKind::pbt3);
        c.CoreAction(TCoreKind::pbtC)->trigger();
        QCOMPARE(window.Active().Simulator()->CoreKind(), TCoreKind::pbtC);
        window.Active().SetMode(dmErrors);
        window->UpdateCommands();
        QVERIFY(!c.CoreAction(TCoreKind::pbtII)->isEnabled());
        QVERIFY(!c.actSettings->isEnabled());
        window.Active().SetMode(dmEdit);
        window->UpdateCommands();
        QVERIFY(c.CoreAction(TCoreKind::pbtII)->isEnabled());
        QVERIFY(c.actSettings->isEnabled());
    }

    void EditorAndTargetStayDisabled() {
        TTestWindow window;
        window->actFileNew->trigger();
        window->UpdateCommands();
        QVERIFY(!window->Commands().actEditor->isEnabled());
        QVERIFY(!window->Commands().actTarget->isEnabled());
        QVERIFY(!window->actHelp->isEnabled());
    }

    void SettingsReloadColumnsAndColours() {
        TTestWindow window;
        window->actFileNew->trigger();
        window.Dialogs.Settings = [](ISettingsStore& settings) {
            WriteInteger(settings, "Columns", "Column1", 10);
            WriteInteger(settings, "Columns", "Column2", 20);
            WriteInteger(settings, "Columns", "Column3", 70);
            WriteInteger(settings, "Attributes/Comment", "Foreground", 0x0000FF);
            return true;
        };
        window->Commands().actSettings->trigger();
        QCOMPARE(window.Dialogs.SettingsDialogs, 1);
        QCOMPARE(window->Commands().Columns().Column3, 70);
        QCOMPARE(window.Active().TextControl()->edgeColumn(), 70);
        QCOMPARE(window->Commands().Parser().Attributes()[atComment].Foreground, TColor(0x0000FF));
    }

    void ExportToHtml() {
        TTestWindow window;
        QString file =
            WriteFile(window.Settings.Folder(), "prog.psm", "LOAD s0, $FF ; a < b & \"c\"\r\n");
        window->OpenDocument(file);
        QString html = QDir(window.Settings.Folder()).filePath("prog.htm");
        window.Dialogs.SaveFileNames = {html};
        window->UpdateCommands();
        QVERIFY(window->actExport->isEnabled());
        window->actExport->trigger();
        QCOMPARE(window.Dialogs.SaveFilters,
                 QStringList({"HTML Document (*.htm,*.html)|*.htm;*.html"}));
        std::string page = ReadFile(html);
        QVERIFY(page.find("<span class=\"a3\">LOAD</span>") != std::string::npos);
        QVERIFY(page.find("<span class=\"a4\">$FF</span>") != std::string::npos);
        QVERIFY(page.find("; a &lt; b &amp; &quot;c&quot;") != std::string::npos);
        QVERIFY(page.find("< b") == std::string::npos);
    }
};

QTEST_MAIN(EditCommandsTest)
#include "edit_commands_test.moc"
