#include "shell/app/ide_arguments.h"

namespace korvo {

TIdeArguments ParseIdeArguments(const QStringList& arguments) {
    TIdeArguments result;
    bool options = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options &&
                   (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            result.Help = true;
            return result;
        } else if (options && argument == QLatin1String("--version")) {
            result.Version = true;
            return result;
        } else if (options && argument == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size()) {
                result.Error = QStringLiteral("--settings needs a file name");
                return result;
            }
            result.SettingsFile = arguments[++i];
        } else if (options && argument.startsWith(QLatin1String("--settings="))) {
            result.SettingsFile = argument.mid(11);
        } else if (options && argument.startsWith('-') && argument != QLatin1String("-")) {
            result.Error = QStringLiteral("Unknown option: ") + argument;
            return result;
        } else {
            result.Files << argument;
        }
    }
    return result;
}

QString IdeUsage(const QString& examplesFolder, const QString& manualFile) {
    QString usage = QStringLiteral(
        "Usage: korvo-ide [--settings FILE] [--] [FILE...]\n"
        "Opens each FILE as a document.\n"
        "\n"
        "  --settings FILE  keep the settings in the INI file FILE (the environment\n"
        "                   variable KORVO_SETTINGS does the same)\n"
        "  -h, --help       print this help and exit\n"
        "  --version        print the version and exit\n"
        "  --               take every later argument as a FILE\n");
    if (!examplesFolder.isEmpty())
        usage += QStringLiteral("\nExample programs: ") + examplesFolder + '\n';
    if (!manualFile.isEmpty()) usage += QStringLiteral("User manual: ") + manualFile + '\n';
    return usage;
}

} // namespace korvo
