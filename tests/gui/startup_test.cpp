// Start and end of the program: window settings, first start, the recent
// files and their menu, the caption and the status bar.
#include "common/settings.h"
#include "gui_test_support.h"
#include "korvo_version.h"
#include "shell/commands.h"
#include "shell/document_manager.h"
#include "shell/editor.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"
#include "shell/qt_user_dialogs.h"
#include "shell/status_bar_panel.h"

#include <QFileInfo>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QWidgetAction>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void FirstStartOnEmptySettings() {
        TTestWindow window({}, false);
        QCOMPARE(window->geometry(), QRect(10, 10, 600, 400));
        QVERIFY(!window->statusBar()->isHidden());
        QVERIFY(!window->LogPane()->isHidden());
        QCOMPARE(window->Commands().CoreKind(), TCoreKind::pbtI);
        QCOMPARE(window.Dialogs.AboutBoxes, 1);
        QCOMPARE(window->LogPane()->LineCount(), 0); // missing values are no failure
        QCOMPARE(window->Commands().Columns().Column3, 50);

        // The log pane gets its 120 pixels, also after maximising, and the
        // status bar panels share the narrow window without overlapping.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        QCOMPARE(window->LogPane()->height(), 120);
        QList<QRect> panels;
        for (int i = 0; i < TMainForm::kStatusPanelCount; ++i) {
            QRect panel = window->StatusPanels[i]->geometry();
            for (const QRect& other : panels)
                QVERIFY2(!panel.intersects(other), qPrintable(QString::number(i)));
            QVERIFY(window->statusBar()->rect().contains(panel));
            panels << panel;
        }
        window->showMaximized();
        QTRY_VERIFY(window->isMaximized());
        QTRY_COMPARE(window->LogPane()->height(), 120);

        // The version is remembered: no About box at the next start.
        window.Restart();
        QCOMPARE(window.Dialogs.AboutBoxes, 1);
        QCOMPARE(ReadString(window.Settings.Store(), "Window", "LastVersion"),
                 std::string(kProductVersion));
    }

    void WindowSettingsSurviveARestart() {
        TTestWindow window;
        window->setGeometry(40, 50, 700, 500);
        window->statusBar()->hide();
        window->Commands().CoreAction(TCoreKind::pbt3)->trigger();
        window.Restart();
        QCOMPARE(window->geometry(), QRect(40, 50, 700, 500));
        QVERIFY(window->statusBar()->isHidden());
        QVERIFY(!window->LogPane()->isHidden());
        QCOMPARE(window->Commands().CoreKind(), TCoreKind::pbt3);
        QCOMPARE(ReadInteger(window.Settings.Store(), "Options", "Korvo"), 3);
        QCOMPARE(ReadInteger(window.Settings.Store(), "Window", "ShowStatusbar"), 0);
    }

    void AStoredHeightOfZeroKeepsTheDefaultSize() {
        TTestWindow window;
        window.Close();
        auto& settings = window.Settings.Store();
        WriteInteger(settings, "Window", "Left", 30);
        WriteInteger(settings, "Window", "Top", 30);
        WriteInteger(settings, "Window", "Width", 800);
        WriteInteger(settings, "Window", "Height", 0);
        window.Restart();
        QCOMPARE(window->size(), QSize(600, 400));
    }

    void AnUnreadableCoreIsLoggedAndPicoblazeIStays() {
        TTestWindow window;
        window.Close();
        WriteString(window.Settings.Store(), "Options", "Korvo", "seven");
        window.Restart();
        QCOMPARE(window->Commands().CoreKind(), TCoreKind::pbtI);
        QCOMPARE(LogLines(*window), QStringList({"Failure: Invalid data type for 'Korvo'"}));
    }

    void CommandLineFilesOpenInOrder() {
        TTemporarySettings folder;
        QString first = WriteFile(folder.Folder(), "first.psm", "; 1\r\n");
        QString second = WriteFile(folder.Folder(), "second.psm", "; 2\r\n");
        TTestWindow window({first, second});
        QCOMPARE(window->Documents().Count(), 2);
        QCOMPARE(window->Documents().Get(0)->FileName(), first);
        QCOMPARE(window.Active().FileName(), second);
    }

    void OpenExampleStartsInTheExamplesFolder() {
        // A test binary is not installed: the examples of the source tree.
        QString examples = QFileInfo(QStringLiteral(KORVO_EXAMPLES_DIR)).canonicalFilePath();
        TTestWindow window;
        QVERIFY(window->actFileOpenExample->isEnabled());
        window.Dialogs.OpenFileNames.push_back(examples + "/blink.psm");
        window->actFileOpenExample->trigger();
        QCOMPARE(window.Dialogs.OpenStartNames, QStringList({examples + '/'}));
        QCOMPARE(window.Active().FileName(), examples + "/blink.psm");
    }

    void RecentFilesRules() {
        TRecentFiles files;
        for (int i = 1; i <= 6; ++i)
            files.Add(QStringLiteral("/p/f%1.psm").arg(i));
        QCOMPARE(files.Files(),
                 QStringList({"/p/f6.psm", "/p/f5.psm", "/p/f4.psm", "/p/f3.psm", "/p/f2.psm"}));
        files.Add("/P/F4.PSM");
        QCOMPARE(files.Files(),
                 QStringList({"/P/F4.PSM", "/p/f6.psm", "/p/f5.psm", "/p/f3.psm", "/p/f2.psm"}));
        files.Add(QString());
        QCOMPARE(files.Count(), 5);
        files.Remove("/p/F6.psm");
        QCOMPARE(files.Count(), 4);
        QCOMPARE(files.Get(4), QString());
        QCOMPARE(files.Get(-1), QString());
    }

    void RecentFilesAreStoredAndShownInTheMenu() {
        TTestWindow window;
        QStringList names;
        for (int i = 1; i <= 3; ++i) {
            names << WriteFile(window.Settings.Folder(), QStringLiteral("r%1.psm").arg(i), "\r\n");
            window->OpenDocument(names.last());
        }
        window->UpdateCommands();
        window->actFileCloseAll->trigger();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        // Closed from the last to the first: the first is the most recent.
        QCOMPARE(window->Commands().RecentFiles().Files(),
                 QStringList({names[0], names[1], names[2]}));
        window.Restart();
        QCOMPARE(window->Commands().RecentFiles().Files(),
                 QStringList({names[0], names[1], names[2]}));
        QCOMPARE(ReadString(window.Settings.Store(), "MRUFiles", "MRUFile1"),
                 names[0].toStdString());

        QMenu* menu = window->RecentFilesMenu();
        emit menu->aboutToShow();
        QVERIFY(window->miFileMRU[2]->isVisible());
        QVERIFY(!window->miFileMRU[3]->isVisible());
        QCOMPARE(window->miFileMRU[1]->text(), names[1]);
        // Opening a recent file takes it off the list while it is open.
        window->miFileMRU[1]->trigger();
        QCOMPARE(window.Active().FileName(), names[1]);
        QCOMPARE(window->Commands().RecentFiles().Files(), QStringList({names[0], names[2]}));
        // Closed at the end, not reopened: the file heads the list.
        WriteInteger(window.Settings.Store(), "Options", "ReopenFiles", 0);
        window.Restart();
        QCOMPARE(window->Commands().RecentFiles().Get(0), names[1]);
        QVERIFY(!window.Settings.Store().ReadValue("MRUFiles", "MRUFile4"));
    }

    void HighlighterForAFile() {
        TTestWindow window;
        auto& commands = window->Commands();
        QVERIFY(commands.HighlighterForFile("/a/prog.PSM"));
        QVERIFY(commands.HighlighterForFile("/a/prog.asm"));
        QVERIFY(!commands.HighlighterForFile("/a/notes.txt"));
        QVERIFY(!commands.HighlighterForFile("/a/prog.ps"));
        QVERIFY(!commands.HighlighterForFile(QString()));
        QCOMPARE(commands.OpenFilter(),
                 QString("Korvo files (*.psm,*.asm)|*.psm;*.asm|All files|*.*|"));
        QCOMPARE(NameFilters(commands.OpenFilter()),
                 QStringList({"Korvo files (*.psm *.asm)", "All files (*)"}));
    }

    void CaptionAndStatusBar() {
        TTestWindow window;
        window->UpdateCommands();
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("  Korvo IDE (version %1)").arg(kProductVersion));
        QCOMPARE(window->StatusPanelText(0), QString(" Mode: Picoblaze-I"));
        QString file = WriteFile(window.Settings.Folder(), "cap.psm", "\r\n");
        window->OpenDocument(file);
        window->UpdateCommands();
        QCOMPARE(window->windowTitle(), QStringLiteral("  Korvo IDE  ") + file);
        QCOMPARE(window->StatusPanelText(3), QString("Insert"));
        window->actFileNew->trigger();
        window->UpdateCommands();
        QCOMPARE(window->windowTitle(), QString("  Korvo IDE  "));

        // A hint replaces the mode text while it shows.
        QStatusTipEvent tip("Open File");
        QCoreApplication::sendEvent(&*window, &tip);
        QCOMPARE(window->StatusPanelText(0), QString(" Open File"));
        QStatusTipEvent none(QString{});
        QCoreApplication::sendEvent(&*window, &none);
        QCOMPARE(window->StatusPanelText(0), QString(" Mode: Picoblaze-I"));
    }

    void ViewCommands() {
        TTestWindow window;
        window->actViewLogPane->trigger();
        window->UpdateCommands();
        QVERIFY(window->LogPane()->isHidden());
        QVERIFY(!window->actViewLogPane->isChecked());
        window->actViewCaptions->trigger();
        QCOMPARE(window->ToolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        window->actViewCaptions->trigger();
        QCOMPARE(window->ToolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }

    void TheSplitterKeepsTheSourceAreaAbove300Pixels() {
        TTestWindow window;
        window->resize(800, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        QSplitter* splitter = window->Splitter;
        QList<int> before = splitter->sizes();
        int total = before[0] + before[1];
        splitter->setSizes({250, total - 250});
        emit splitter->splitterMoved(250, 1);
        QCOMPARE(splitter->sizes(), before);
        splitter->setSizes({400, total - 400});
        emit splitter->splitterMoved(400, 1);
        QCOMPARE(splitter->sizes().first(), 400);
    }

    void EveryToolbarButtonHasAGlyph() {
        TTestWindow window;
        for (QAction* action : window->ToolBar->actions()) {
            // The run speed box is no button.
            if (action->isSeparator() || qobject_cast<QWidgetAction*>(action)) continue;
            QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
            QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(action->objectName()));
        }
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
