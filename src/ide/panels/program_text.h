#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace korvo {

// What the views of a simulation know of the program's text: its labels
// with their code addresses (in address order) and its source lines.
struct TProgramText {
    std::vector<std::pair<int, QString>> Labels;
    QStringList Lines;

    // The label at an address, empty when none.
    QString LabelAt(int address) const;
    // The routine an address lies in: the nearest label at or before it,
    // with the distance ("delay+2"); empty before the first label.
    QString RoutineOf(int address) const;
    // "line N: text" for a source line from 1; empty outside the text.
    QString LineText(int line) const;
};

} // namespace korvo
