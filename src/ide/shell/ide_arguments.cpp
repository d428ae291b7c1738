#include "shell/ide_arguments.h"

namespace korvo {

TIdeArguments ParseIdeArguments(const QStringList& arguments) {
    TIdeArguments result;
    bool options = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QLatin1String("--")) {
            options = false;
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

} // namespace korvo
