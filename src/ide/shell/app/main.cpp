#include "common/log.h"
#include "korvo_version.h"
#include "platform/data_folders.h"
#include "settings/qt_settings_store.h"
#include "shell/app/guarded_application.h"
#include "shell/app/icons.h"
#include "shell/app/ide_arguments.h"
#include "shell/app/main_window.h"
#include "shell/app/qt_user_dialogs.h"

#include <QApplication>
#include <cstdio>

namespace {

// The exit status when the arguments ask for the help or the version, which
// are printed without starting the GUI.
std::optional<int> AnswerQuestion(const korvo::TIdeArguments& parsed) {
    if (parsed.Help) {
        QString programFolder = QCoreApplication::applicationDirPath();
        std::fputs(
            korvo::IdeUsage(korvo::ExamplesFolder(programFolder), korvo::ManualFile(programFolder))
                .toLocal8Bit()
                .constData(),
            stdout);
        return 0;
    }
    if (parsed.Version) {
        std::printf("%s %s\n", korvo::kApplicationTitle, korvo::kProductVersion);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    // Help and version need no display: answered before the GUI is set up.
    // Arguments for Qt itself (-platform ...) come out of the list only once
    // the GUI exists, so the list is read again then.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    korvo::TIdeArguments early = korvo::ParseIdeArguments(rawArguments);
    if (early.Help || early.Version) {
        QCoreApplication application(argc, argv);
        return *AnswerQuestion(early);
    }

    korvo::TGuardedApplication application(argc, argv);
    QApplication::setApplicationName(korvo::kApplicationTitle);
    QApplication::setApplicationVersion(korvo::kProductVersion);
    QApplication::setWindowIcon(korvo::ApplicationIcon());
    // Ties the windows to the installed desktop entry (its icon and name).
    QApplication::setDesktopFileName(QStringLiteral("korvo-ide"));

    korvo::TIdeArguments parsed = korvo::ParseIdeArguments(QApplication::arguments().mid(1));
    if (auto status = AnswerQuestion(parsed)) return *status;
    if (!parsed.Error.isEmpty()) {
        std::fprintf(stderr, "korvo-ide: %s; try korvo-ide --help\n", qPrintable(parsed.Error));
        return 2;
    }
    std::optional<std::string> iniFile;
    if (parsed.SettingsFile) iniFile = parsed.SettingsFile->toStdString();
    auto settings = korvo::OpenSettingsStore(iniFile);
    korvo::TQtUserDialogs dialogs;
    korvo::TMainWindow window(*settings, dialogs, parsed.Files);
    application.SetReporter(
        [&window](const std::string& message) { window.Log().AddLogLine(message); });
    window.show();
    const int status = application.exec();
    application.SetReporter({});
    return status;
}
