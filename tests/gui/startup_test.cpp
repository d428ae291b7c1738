// Start and end of the program: the command line, the first start, the
// window settings, and the recent files with their menu.
#include "common/settings.h"
#include "gui_test_support.h"
#include "korvo_version.h"
#include "shell/app/help_window.h"
#include "shell/app/ide_arguments.h"
#include "shell/app/qt_user_dialogs.h"
#include "shell/app/status_bar_panel.h"
#include "shell/commands/core_selector.h"

using namespace korvo;
using namespace korvo::test;

namespace {

// What the command line asks for, as "settings:FILE files:A,B help version
// error".
QString Summary(const TIdeArguments& parsed) {
    QStringList parts;
    if (parsed.SettingsFile) parts << "settings:" + *parsed.SettingsFile;
    if (!parsed.Files.isEmpty()) parts << "files:" + parsed.Files.join(',');
    if (parsed.Help) parts << "help";
    if (parsed.Version) parts << "version";
    if (!parsed.Error.isEmpty()) parts << "error";
    return parts.join(' ');
}

// Name, arguments, what they ask for.
using TArgumentsRow = std::tuple<const char*, QStringList, const char*>;
const TArgumentsRow kArgumentsRows[] = {
    {"settings and files", {"--settings", "a.ini", "x", "y"}, "settings:a.ini files:x,y"},
    {"settings with an equals sign", {"--settings=b.ini"}, "settings:b.ini"},
    {"files only", {"x.psm", "-"}, "files:x.psm,-"},
    {"after -- every argument is a file", {"--", "--odd.psm", "--help"}, "files:--odd.psm,--help"},
    {"settings without a name", {"--settings"}, "error"},
    {"unknown option", {"x.psm", "--bogus"}, "files:x.psm error"},
    {"help ends the reading", {"x.psm", "-h", "--bogus"}, "files:x.psm help"},
    {"version ends the reading", {"--version", "--bogus"}, "version"},
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void TheCommandLine_data() { AddRows(kArgumentsRows); }

    void TheCommandLine() {
        const auto& [name, arguments, summary] = Row(kArgumentsRows);
        QCOMPARE(Summary(ParseIdeArguments(arguments)), summary);
    }

    void CommandLineFilesOpenInOrder() {
        TTemporarySettings folder;
        QString first = folder.Write("first.psm", "; 1\r\n");
        QString second = folder.Write("second.psm", "; 2\r\n");
        TTestWindow window({first, second});
        QCOMPARE(window->Documents().Count(), 2);
        QCOMPARE(window->Documents().Get(0)->FileName(), first);
        QCOMPARE(window.Active().FileName(), second);
        QCOMPARE(LogLines(*window), QStringList({"Read: first.psm", "Read: second.psm"}));
    }

    void OneSpellingOfTheCores() {
        TTestWindow window;
        const QStringList names{"Picoblaze I", "Picoblaze II", "Picoblaze 3", "Picoblaze CR",
                                "Picoblaze 6"};
        QStringList menu, list;
        for (QAction* core : window->Commands().actCores)
            menu << core->text();
        for (int i = 0; i < window->CoreSelector->ToolBarList->count(); ++i)
            list << window->CoreSelector->ToolBarList->itemText(i);
        QCOMPARE(menu, names);
        QCOMPARE(list, names);
        Press(window, window->Commands().CoreAction(TCoreKind::pbt6));
        QCOMPARE(window->StatusPanelText(0), " Mode: Picoblaze-6");
        QCOMPARE(window->CoreSelector->StatusButton->text(), "Picoblaze 6");
    }

    void MenusKeysAndTheManual() {
        TTestWindow window;
        QStringList menus;
        for (QAction* menu : window->menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus,
                 QStringList({"&File", "&Edit", "&View", "&Settings", "Si&mulate", "&Help"}));
        QCOMPARE(window->Commands().actPause->shortcut(), QKeySequence(Qt::Key_F6));
        QCOMPARE(window->actHelp->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(Press(window, window->actHelp));
        QTextBrowser* manual = ManualBrowser();
        QVERIFY(manual && manual->isVisible());
        QVERIFY(manual->toPlainText().contains("Ctrl+1 to Ctrl+5"));
        manual->close();
    }

    void TheAboutBoxGreetsEachNewVersionOnce() {
        TTestWindow window({}, false);
        QCOMPARE(window.Dialogs.AboutBoxes, 1);
        QCOMPARE(window->LogPane()->LineCount(), 0); // missing values are no failure
        // The status bar panels share the narrow window without overlapping.
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*window));
        QRegion panels;
        for (auto* panel : window->StatusPanels) {
            QVERIFY(!panels.intersects(panel->geometry()));
            QVERIFY(window->statusBar()->rect().contains(panel->geometry()));
            panels += panel->geometry();
        }
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
        QCOMPARE(window->Commands().CoreKind(), TCoreKind::pbt3);
        // A stored height of zero keeps the default size.
        window.Close();
        WriteInteger(window.Settings.Store(), "Window", "Height", 0);
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

    void RecentFilesAreStoredAndShownInTheMenu() {
        TRecentFiles five; // the newest five are kept
        for (int i = 1; i <= 6; ++i)
            five.Add(QStringLiteral("/p/f%1.psm").arg(i));
        QCOMPARE(five.Files().mid(3), QStringList({"/p/f3.psm", "/p/f2.psm"}));
        TTestWindow window;
        QStringList names;
        for (int i = 1; i <= 3; ++i) {
            names << window.File(QStringLiteral("r%1.psm").arg(i), "\r\n");
            window->OpenDocument(names.last());
        }
        window->UpdateCommands();
        window->actFileCloseAll->trigger();
        Settle(*window);
        QCOMPARE(window->Documents().Count(), 0);
        // Closed from the last to the first: the first is the most recent.
        window.Restart();
        QCOMPARE(window->Commands().RecentFiles().Files(),
                 QStringList({names[0], names[1], names[2]}));

        emit window->RecentFilesMenu()->aboutToShow();
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
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
