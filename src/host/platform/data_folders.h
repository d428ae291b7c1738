#pragma once

#include <QString>

namespace korvo {

// The folder of the example programs: share/korvo/examples beside the bin/
// folder of an installed program (programFolder is the folder of the running
// binary), else the examples/ folder of the source tree the program was built
// from. The path is canonical; empty when neither exists.
QString ExamplesFolder(const QString& programFolder);

} // namespace korvo
