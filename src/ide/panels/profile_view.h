#pragma once

#include "panels/program_text.h"

#include <QTreeWidget>
#include <memory>

namespace korvo {

class TPicoBlazeSimulator;
class TProfiler;

// Where the runs of a simulation spent their instructions, one row per
// routine (entered by a CALL or an interrupt; the main program is the one
// at address 0): its calls, its inclusive and exclusive instruction counts
// and their shares of all instructions. The rows sort by any column; a
// double click asks for the routine's source line. Counting starts when the
// view is bound and again when the program is reset.
class TProfileView : public QTreeWidget {
    Q_OBJECT
public:
    enum TColumn {
        colRoutine,
        colCalls,
        colInclusive,
        colInclusiveShare,
        colExclusive,
        colExclusiveShare
    };

    explicit TProfileView(QWidget* parent = nullptr);
    ~TProfileView() override;

    void Bind(TPicoBlazeSimulator* simulator, const TProgramText& program);
    // Counts from zero again; not while a run goes on. Counting watches
    // every instruction and slows a run down, so it goes on only while the
    // view is shown: from the moment it is shown.
    void Restart();
    // The rows from the counts; nothing changes while a run goes on.
    void Refresh();

signals:
    void SourceLineRequested(int line);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Detach();

    TPicoBlazeSimulator* simulator_ = nullptr;
    std::unique_ptr<TProfiler> profiler_;
    TProgramText program_;
};

} // namespace korvo
