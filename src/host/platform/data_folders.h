#pragma once

#include <QString>

namespace korvo {

// The folder of the example programs: share/korvo/examples beside the bin/
// folder of an installed program (programFolder is the folder of the running
// binary), else the examples/ folder of the source tree the program was built
// from. The path is canonical; empty when neither exists.
QString ExamplesFolder(const QString& programFolder);

// Where File > Open Example puts the user's copies of the examples:
// "Korvo IDE examples" in the user's documents folder.
QString UserExamplesFolder();

// Copies every file of the folder from into the folder to (made when
// missing) that is not there yet, writable by the user; a copy the user
// changed stays. Returns how many files were copied, or -1 (and the reason
// in failure) when the folder cannot be made or a file cannot be copied.
int CopyMissingFiles(const QString& from, const QString& to, QString& failure);

// The user manual: share/korvo/manual/korvo-ide.html beside the bin/ folder
// of an installed program, else the one in docs/manual of the source tree;
// empty when neither exists.
QString ManualFile(const QString& programFolder);

} // namespace korvo
