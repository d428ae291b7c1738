#include "korvo_version.h"
#include "settings/qt_settings_store.h"
#include "shell/icons.h"
#include "shell/ide_arguments.h"
#include "shell/main_window.h"
#include "shell/qt_user_dialogs.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(korvo::kApplicationTitle);
    QApplication::setApplicationVersion(korvo::kProductVersion);
    QApplication::setWindowIcon(korvo::ApplicationIcon());

    QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help"))) {
        std::printf("Usage: korvo-ide [--settings FILE] [FILE...]\n"
                    "Opens each FILE as a document; --settings keeps the settings in the INI "
                    "file FILE.\n");
        return 0;
    }
    korvo::TIdeArguments parsed = korvo::ParseIdeArguments(arguments);
    if (!parsed.Error.isEmpty()) {
        std::fprintf(stderr, "korvo-ide: %s\n", qPrintable(parsed.Error));
        return 2;
    }
    std::optional<std::string> iniFile;
    if (parsed.SettingsFile) iniFile = parsed.SettingsFile->toStdString();
    auto settings = korvo::OpenSettingsStore(iniFile);
    korvo::TQtUserDialogs dialogs;
    korvo::TfrmWorkbookMain window(*settings, dialogs, parsed.Files);
    window.show();
    return application.exec();
}
