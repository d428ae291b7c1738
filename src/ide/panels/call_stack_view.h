#pragma once

#include "panels/program_text.h"

#include <QTreeWidget>

namespace korvo {

class TPicoBlazeSimulator;

// The return stack of a simulated program, the newest entry on top: each
// return address with the routine it returns into and its source line. A
// double click asks for that source line.
class TCallStackView : public QTreeWidget {
    Q_OBJECT
public:
    enum TColumn { colReturn, colRoutine, colSource };

    explicit TCallStackView(QWidget* parent = nullptr);

    void Bind(TPicoBlazeSimulator* simulator, const TProgramText& program);
    // The entries from the simulator; nothing changes while it runs.
    void Refresh();

signals:
    void SourceLineRequested(int line);

private:
    TPicoBlazeSimulator* simulator_ = nullptr;
    TProgramText program_;
};

} // namespace korvo
