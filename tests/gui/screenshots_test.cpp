// Takes the screenshots of docs/screenshots when KORVO_SCREENSHOT_DIR names
// a folder (tools/screenshots.sh runs it under Xvfb); skipped otherwise.
#include "gui_test_support.h"
#include "shell/log_pane.h"
#include "shell/main_window.h"

#include <QDir>
#include <QtTest>

using namespace korvo;
using namespace korvo::test;

class ScreenshotsTest : public QObject {
    Q_OBJECT

private:
    QString folder_;

    void Save(QWidget& widget, const QString& name) {
        QTest::qWait(200);
        QString suffix = qEnvironmentVariable("KORVO_SCREENSHOT_SUFFIX");
        QString file = QDir(folder_).filePath(name + suffix + ".png");
        QVERIFY2(widget.grab().save(file), qPrintable(file));
    }

private slots:
    void initTestCase() {
        folder_ = qEnvironmentVariable("KORVO_SCREENSHOT_DIR");
        if (folder_.isEmpty()) QSKIP("KORVO_SCREENSHOT_DIR is not set");
        QDir().mkpath(folder_);
    }

    void MainWindow() {
        TTemporarySettings settings;
        TScriptedDialogs dialogs;
        MarkCurrentVersionSeen(settings.Store());
        TfrmWorkbookMain window(settings.Store(), dialogs,
                                {QStringLiteral(KORVO_EXAMPLES_DIR "/walking_leds.psm")});
        window.resize(982, 644);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Save(window, "main-window");
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
