#pragma once

#include "common/core_kind.h"
#include "panels/change_marks.h"

#include <QWidget>
#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace korvo {

class TPicoBlazeSimulator;

// The state of the simulated processor: the interrupt inputs (steady line,
// a single edge, and a timer that raises edges), the flags and the
// registers. The user changes registers and flags here; the commands of the
// simulation keep the register edits and the simulator in step around each
// run. One instance for the program, bound to the simulator being simulated.
class TFrameStatus : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRegisterRows = kMaxRegisterCount;
    // Registers shown per column of the register group.
    static constexpr int kRowsPerColumn = 8;
    // Characters of a register's name its row shows.
    static constexpr int kShownNameLength = 8;

    explicit TFrameStatus(QWidget* parent = nullptr);

    QAction* actToggleZero = nullptr;
    QAction* actToggleCarry = nullptr;
    QAction* actToggleEnable = nullptr;
    QAction* actToggleInterrupt = nullptr;
    QAction* actEdge = nullptr;
    QAction* actTimer = nullptr;

    QGroupBox* GroupInterrupt = nullptr;
    QGroupBox* GroupStatus = nullptr;
    QGroupBox* GroupRegisters = nullptr;
    QCheckBox* CheckSteady = nullptr;
    QCheckBox* CheckEdge = nullptr;
    QCheckBox* CheckTimer = nullptr;
    QSpinBox* TimerEdit = nullptr;
    QCheckBox* CheckZero = nullptr;
    QCheckBox* CheckCarry = nullptr;
    QCheckBox* CheckEnable = nullptr;
    // Row r shows register r; on a core with two banks rows 0 to 15 are
    // bank A and rows 16 to 31 bank B, under a header each that marks the
    // active bank.
    std::array<QLabel*, kRegisterRows> RegisterLabels{};
    std::array<QLineEdit*, kRegisterRows> RegisterEdits{};
    std::array<QLabel*, 2> BankHeaders{};

    // Binds the simulator (null to unbind) and shows the register rows its
    // core has.
    void Bind(TPicoBlazeSimulator* simulator);
    TPicoBlazeSimulator* Simulator() const { return simulator_; }
    // The name the program gives register n (in every bank): shown after the
    // number in its row (cut short when long) and whole as the row's hint.
    void SetRegisterName(int n, const QString& name);

    // Typed register values into the simulator (when a run starts): a text
    // that is not a hexadecimal number gives 0; values are cut to 8 bits.
    void EditsToRegisters();
    // The simulator's registers into the edits, except an edit the user is
    // typing in.
    void RegistersToEdits();
    // Ticks and enabled states of the actions from the simulator.
    void UpdateActions();
    // Registers and flags from the simulator.
    void Refresh();
    // The register edits and flag boxes with the simulator's values.
    void ListValues(TShownValues& values) const;

    // Once per yield of a run: with the timer on, raises an interrupt edge
    // every (interval + 1) yields, the first at the next yield.
    void TimerTick();
    int TimerCountdown() const { return countdown_; }

private:
    QAction* AddAction(const char* name, const QString& caption, Qt::Key key,
                       void (TFrameStatus::*execute)());
    void ToggleZero();
    void ToggleCarry();
    void ToggleEnable();
    void ToggleInterrupt();
    void ToggleEdge();
    void ToggleTimer();
    void CommitRegister(int row);
    // The number of a row's register and the name the program gives it.
    void ShowRegisterName(int row, const QString& name);
    // The rows the bound core has, and the bank and register of a row.
    int RowCount() const;
    int BankOfRow(int row) const;
    int RegisterOfRow(int row) const;
    void ShowActiveBank();
    QCheckBox* MakeCheckBox(QAction* action, const QString& hint, QWidget* parent);

    TPicoBlazeSimulator* simulator_ = nullptr;
    bool timerOn_ = false;
    int countdown_ = 0;
};

} // namespace korvo
