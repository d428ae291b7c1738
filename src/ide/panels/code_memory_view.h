#pragma once

#include "panels/program_text.h"

#include <QTableView>

namespace korvo {

class TCodeMemoryModel;
class TPicoBlazeSimulator;

// The code memory of a simulated program, one row per address: a mark
// column (the current instruction, breakpoints), the address, the code word,
// the label there and the instruction the word holds. A click in the mark
// column toggles the breakpoint of the instruction's source line; a double
// click elsewhere asks for that source line.
class TCodeMemoryView : public QTableView {
    Q_OBJECT
public:
    enum TColumn { colMark, colAddress, colWord, colLabel, colInstruction, colCount };

    explicit TCodeMemoryView(QWidget* parent = nullptr);
    ~TCodeMemoryView() override;

    // Shows the simulator's code (null: nothing).
    void Bind(TPicoBlazeSimulator* simulator, const TProgramText& program);
    // The marks from the simulator; the current instruction's row scrolls
    // into view. Nothing changes during a run unless it animates.
    void Refresh();
    // The text of a cell.
    QString CellText(int address, TColumn column) const;
    // Wide enough for every column of a typical program.
    QSize sizeHint() const override;

signals:
    void SourceLineRequested(int line);

private:
    TCodeMemoryModel* model_;
    int instructionWidth_ = 0;
};

} // namespace korvo
