#include "panels/frame_status.h"

#include "base/fonts.h"
#include "panels/panel_widgets.h"
#include "panels/ram_rom_entry_form.h"
#include "simulator/picoblaze_simulator.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvo {

TFrameStatus::TFrameStatus(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrameStatus"));
    setStyleSheet(PanelStyleSheet());
    actToggleZero =
        AddAction("actToggleZero", QStringLiteral(" &Zero"), Qt::Key_Z, &TFrameStatus::ToggleZero);
    actToggleCarry = AddAction("actToggleCarry", QStringLiteral(" &Carry"), Qt::Key_C,
                               &TFrameStatus::ToggleCarry);
    actToggleEnable = AddAction("actToggleEnable", QStringLiteral(" &Enable"), Qt::Key_E,
                                &TFrameStatus::ToggleEnable);
    actToggleInterrupt = AddAction("actToggleInterrupt", QStringLiteral(" &Steady"), Qt::Key_I,
                                   &TFrameStatus::ToggleInterrupt);
    actEdge = AddAction("actEdge", QStringLiteral(" E&dge"), Qt::Key_D, &TFrameStatus::ToggleEdge);
    actTimer =
        AddAction("actTimer", QStringLiteral("Timer"), Qt::Key_T, &TFrameStatus::ToggleTimer);

    GroupInterrupt = new QGroupBox(QStringLiteral(" Interrupt "), this);
    GroupInterrupt->setObjectName(QStringLiteral("GroupInterrupt"));
    CheckSteady = MakeCheckBox(actToggleInterrupt, QStringLiteral("Generate a steady Interrupt"),
                               GroupInterrupt);
    CheckEdge =
        MakeCheckBox(actEdge, QStringLiteral("Generate a single Interrupt event"), GroupInterrupt);
    CheckTimer = MakeCheckBox(actTimer, QStringLiteral("Enable Timer"), GroupInterrupt);
    TimerEdit = new QSpinBox(GroupInterrupt);
    TimerEdit->setObjectName(QStringLiteral("TimerEdit"));
    TimerEdit->setRange(1, 1000);
    TimerEdit->setSingleStep(10);
    TimerEdit->setValue(50);
    TimerEdit->setToolTip(QStringLiteral("Timer interval in (simulator) ms"));
    TimerEdit->setFixedHeight(TimerEdit->fontMetrics().height() + 6);
    auto* interrupt = new QGridLayout(GroupInterrupt);
    interrupt->setContentsMargins(6, 2, 6, 4);
    interrupt->setVerticalSpacing(2);
    interrupt->addWidget(CheckSteady, 0, 0);
    interrupt->addWidget(CheckEdge, 0, 1);
    interrupt->addWidget(CheckTimer, 1, 0);
    interrupt->addWidget(TimerEdit, 1, 1);

    GroupStatus = new QGroupBox(QStringLiteral(" Status "), this);
    GroupStatus->setObjectName(QStringLiteral("GroupStatus"));
    CheckZero = MakeCheckBox(actToggleZero, QStringLiteral("State of ZERO flag"), GroupStatus);
    CheckCarry = MakeCheckBox(actToggleCarry, QStringLiteral("State of CARRY flag"), GroupStatus);
    CheckEnable = MakeCheckBox(actToggleEnable, QStringLiteral("State of Interrupt Enable flag"),
                               GroupStatus);
    auto* status = new QHBoxLayout(GroupStatus);
    status->setContentsMargins(6, 2, 6, 4);
    status->addWidget(CheckZero);
    status->addWidget(CheckCarry);
    status->addWidget(CheckEnable);
    status->addStretch(1);

    GroupRegisters = new QGroupBox(QStringLiteral(" Registers "), this);
    GroupRegisters->setObjectName(QStringLiteral("GroupRegisters"));
    auto* registers = new QGridLayout(GroupRegisters);
    registers->setContentsMargins(6, 2, 6, 4);
    registers->setHorizontalSpacing(3);
    registers->setVerticalSpacing(1);
    QFont editFont = FixedFont(12);
    QFont labelFont = PanelDigitFont();
    for (int n = 0; n < kRegisterRows; ++n) {
        auto* label = new QLabel(HexDigits(n, 1) + QLatin1Char(' '), GroupRegisters);
        label->setObjectName(QStringLiteral("RegisterLabel%1").arg(n));
        label->setProperty("Tag", n);
        label->setFont(labelFont);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        auto* edit = new QLineEdit(QStringLiteral("00"), GroupRegisters);
        edit->setObjectName(QStringLiteral("RegisterEdit%1").arg(n));
        edit->setProperty("Tag", n);
        edit->setFont(editFont);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFixedSize(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 6,
                           edit->fontMetrics().height() + 4);
        connect(edit, &QLineEdit::editingFinished, this, [this, n] { CommitRegister(n); });
        int column = 2 * (n / kRowsPerColumn);
        registers->addWidget(label, 1 + n % kRowsPerColumn, column);
        registers->addWidget(edit, 1 + n % kRowsPerColumn, column + 1);
        if (n >= kRowsPerColumn && n % kRowsPerColumn == 0)
            registers->setColumnMinimumWidth(column - 1, edit->width() + 6);
        RegisterLabels[n] = label;
        RegisterEdits[n] = edit;
    }
    // A bank takes two columns of eight registers.
    for (int bank = 0; bank < static_cast<int>(BankHeaders.size()); ++bank) {
        auto* header = new QLabel(GroupRegisters);
        header->setObjectName(QStringLiteral("BankHeader%1").arg(QChar('A' + bank)));
        header->setFont(labelFont);
        header->setAlignment(Qt::AlignCenter);
        registers->addWidget(header, 0, 4 * bank, 1, 4);
        BankHeaders[bank] = header;
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addWidget(GroupInterrupt);
    layout->addWidget(GroupStatus);
    layout->addWidget(GroupRegisters);
    layout->addStretch(1);
    Bind(nullptr);
}

QAction* TFrameStatus::AddAction(const char* name, const QString& caption, Qt::Key key,
                                 void (TFrameStatus::*execute)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setShortcut(QKeySequence(key));
    // The letter keys act while the panel has the focus, so that they never
    // take a key typed into an editor or a register.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, [this, execute] { (this->*execute)(); });
    addAction(action);
    return action;
}

QCheckBox* TFrameStatus::MakeCheckBox(QAction* action, const QString& hint, QWidget* parent) {
    QString caption = action->text().remove(QLatin1Char('&')).trimmed();
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QStringLiteral("Check") + caption);
    box->setToolTip(hint);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    connect(box, &QCheckBox::clicked, action, [action] { action->trigger(); });
    auto follow = [box, action] {
        box->setEnabled(action->isEnabled());
        if (box->isChecked() != action->isChecked()) box->setChecked(action->isChecked());
    };
    connect(action, &QAction::changed, box, follow);
    follow();
    return box;
}

int TFrameStatus::RowCount() const {
    return simulator_ ? simulator_->RegisterCount() * simulator_->RegisterBanks() : 0;
}

int TFrameStatus::BankOfRow(int row) const {
    return simulator_ && simulator_->RegisterBanks() > 1 ? row / simulator_->RegisterCount() : -1;
}

int TFrameStatus::RegisterOfRow(int row) const {
    return simulator_ ? row % simulator_->RegisterCount() : row;
}

void TFrameStatus::Bind(TPicoBlazeSimulator* simulator) {
    simulator_ = simulator;
    int count = RowCount();
    for (int n = 0; n < kRegisterRows; ++n) {
        RegisterLabels[n]->setVisible(n < count);
        RegisterEdits[n]->setVisible(n < count);
        ShowRegisterName(n, QString());
    }
    bool banked = simulator && simulator->RegisterBanks() > 1;
    for (auto* header : BankHeaders)
        header->setVisible(banked);
    GroupInterrupt->setVisible(simulator != nullptr);
    GroupStatus->setVisible(simulator != nullptr);
    GroupRegisters->setVisible(simulator != nullptr);
    Refresh();
}

void TFrameStatus::SetRegisterName(int n, const QString& name) {
    int step =
        simulator_ && simulator_->RegisterBanks() > 1 ? simulator_->RegisterCount() : kRegisterRows;
    for (int row = n; row >= 0 && row < kRegisterRows; row += step)
        ShowRegisterName(row, name);
}

void TFrameStatus::ShowRegisterName(int row, const QString& name) {
    QLabel* label = RegisterLabels[row];
    // The name shows in the row, cut short when long; the hint holds it whole.
    QFontMetrics metrics = label->fontMetrics();
    QString shown = metrics.elidedText(name, Qt::ElideRight,
                                       metrics.horizontalAdvance(QString(kShownNameLength, '0')));
    label->setText(HexDigits(RegisterOfRow(row), 1) + QLatin1Char(' ') + shown);
    label->setToolTip(name);
    RegisterEdits[row]->setToolTip(name);
}

// A register of a bank, or of the active bank on a core with one.
static std::int32_t RowValue(const TPicoBlazeSimulator& simulator, int bank, int n) {
    return bank < 0 ? simulator.Register(n) : simulator.BankRegister(bank, n);
}

void TFrameStatus::EditsToRegisters() {
    for (int row = 0; row < RowCount(); ++row)
        if (RegisterEdits[row]->isModified()) CommitRegister(row);
}

void TFrameStatus::RegistersToEdits() {
    for (int row = 0; row < RowCount(); ++row) {
        QLineEdit* edit = RegisterEdits[row];
        if (edit->hasFocus() && edit->isModified()) continue;
        QString text = HexDigits(RowValue(*simulator_, BankOfRow(row), RegisterOfRow(row)), 2);
        if (edit->text() != text || edit->isModified()) edit->setText(text);
    }
    ShowActiveBank();
}

void TFrameStatus::ShowActiveBank() {
    for (int bank = 0; bank < static_cast<int>(BankHeaders.size()); ++bank) {
        bool active = simulator_ && simulator_->ActiveBank() == bank;
        QString text = QStringLiteral("Bank %1").arg(QChar('A' + bank));
        if (active) text += QStringLiteral(" (active)");
        if (BankHeaders[bank]->text() == text) continue;
        BankHeaders[bank]->setText(text);
        QFont font = BankHeaders[bank]->font();
        font.setBold(active);
        BankHeaders[bank]->setFont(font);
    }
}

void TFrameStatus::CommitRegister(int row) {
    QLineEdit* edit = RegisterEdits[row];
    if (!simulator_ || !edit->isModified()) return;
    int bank = BankOfRow(row), n = RegisterOfRow(row);
    std::int32_t value = TRAMROMEntryForm::ByteValue(edit->text());
    if (bank < 0)
        simulator_->SetRegister(n, value);
    else
        simulator_->SetBankRegister(bank, n, value);
    edit->setText(HexDigits(RowValue(*simulator_, bank, n), 2));
}

void TFrameStatus::UpdateActions() {
    bool bound = simulator_ != nullptr;
    auto show = [](QAction* action, bool enabled, bool checked) {
        if (action->isEnabled() != enabled) action->setEnabled(enabled);
        if (action->isChecked() != checked) action->setChecked(checked);
    };
    show(actToggleZero, bound, bound && simulator_->ZeroFlag());
    show(actToggleCarry, bound, bound && simulator_->CarryFlag());
    show(actToggleEnable, bound, bound && simulator_->InterruptEnable());
    show(actToggleInterrupt, bound, bound && simulator_->InterruptLine());
    show(actEdge, bound && !simulator_->InterruptLine(), bound && simulator_->InterruptEdge());
    show(actTimer, true, timerOn_);
}

void TFrameStatus::Refresh() {
    RegistersToEdits();
    UpdateActions();
}

void TFrameStatus::ListValues(TShownValues& values) const {
    if (!simulator_) return;
    for (int row = 0; row < RowCount(); ++row)
        values.emplace_back(RegisterEdits[row],
                            RowValue(*simulator_, BankOfRow(row), RegisterOfRow(row)));
    values.emplace_back(CheckZero, simulator_->ZeroFlag());
    values.emplace_back(CheckCarry, simulator_->CarryFlag());
    values.emplace_back(CheckEnable, simulator_->InterruptEnable());
}

void TFrameStatus::ToggleZero() {
    if (simulator_) simulator_->SetZeroFlag(!simulator_->ZeroFlag());
    UpdateActions();
}

void TFrameStatus::ToggleCarry() {
    if (simulator_) simulator_->SetCarryFlag(!simulator_->CarryFlag());
    UpdateActions();
}

void TFrameStatus::ToggleEnable() {
    if (simulator_) simulator_->SetInterruptEnable(!simulator_->InterruptEnable());
    UpdateActions();
}

void TFrameStatus::ToggleInterrupt() {
    if (simulator_) simulator_->SetInterruptLine(!simulator_->InterruptLine());
    UpdateActions();
}

void TFrameStatus::ToggleEdge() {
    if (simulator_ && !simulator_->InterruptLine())
        simulator_->SetInterruptEdge(!simulator_->InterruptEdge());
    UpdateActions();
}

void TFrameStatus::ToggleTimer() {
    timerOn_ = !timerOn_;
    UpdateActions();
}

void TFrameStatus::TimerTick() {
    if (timerOn_ && countdown_ < 1) {
        ToggleEdge();
        countdown_ = TimerEdit->value();
    } else if (countdown_ > 0) {
        // Below 1 the next tick with the timer on raises an edge, however far below.
        --countdown_;
    }
}

} // namespace korvo
