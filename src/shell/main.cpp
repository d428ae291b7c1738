#include "korvo_version.h"
#include "shell/icons.h"
#include "shell/main_window.h"
#include "shell/settings/qt_settings_store.h"
#include "shell/user_dialogs.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(korvo::kApplicationTitle);
    QApplication::setApplicationVersion(korvo::kProductVersion);
    QApplication::setWindowIcon(korvo::ApplicationIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Korvo IDE: editor, assembler and simulator "
                                                    "for the PicoBlaze family"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption settingsOption(QStringLiteral("settings"),
                                      QStringLiteral("Keep the settings in the INI file <file>."),
                                      QStringLiteral("file"));
    parser.addOption(settingsOption);
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("Source files to open as documents."),
                                 QStringLiteral("[files...]"));
    parser.process(application);

    std::optional<std::string> iniFile;
    if (parser.isSet(settingsOption)) iniFile = parser.value(settingsOption).toStdString();
    auto settings = korvo::OpenSettingsStore(iniFile);
    korvo::TQtUserDialogs dialogs;
    korvo::TfrmWorkbookMain window(*settings, dialogs, parser.positionalArguments());
    window.show();
    return application.exec();
}
