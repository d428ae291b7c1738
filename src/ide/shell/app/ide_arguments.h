#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace korvo {

// The IDE's command line: "--settings FILE" (or "--settings=FILE") picks the
// settings file; every other argument is a file to open, in order. "--"
// ends the options, so that a file name may begin with "-". "--help" (or
// "-h") and "--version" ask for information instead of a start.
struct TIdeArguments {
    std::optional<QString> SettingsFile;
    QStringList Files;
    bool Help = false;
    bool Version = false;
    QString Error; // a missing settings file name or an unknown option
};

// arguments without the program name.
TIdeArguments ParseIdeArguments(const QStringList& arguments);

// The text of --help; examplesFolder and manualFile (when not empty) are
// named at its end.
QString IdeUsage(const QString& examplesFolder, const QString& manualFile = {});

} // namespace korvo
