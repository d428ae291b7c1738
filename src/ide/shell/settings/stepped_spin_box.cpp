#include "shell/settings/stepped_spin_box.h"

#include <QLineEdit>

namespace korvo {

TSteppedSpinBox::TSteppedSpinBox(int base, int step, int maximum, QWidget* parent)
    : QSpinBox(parent) {
    setRange(base, maximum);
    setSingleStep(step);
}

void TSteppedSpinBox::SetBase(int base) {
    setMinimum(base);
}

bool TSteppedSpinBox::OnGrid(int value) const {
    return value >= minimum() && value <= maximum() && (value - minimum()) % singleStep() == 0;
}

void TSteppedSpinBox::stepBy(int steps) {
    int target = value() + steps * singleStep();
    if (target < minimum() || target > maximum()) return;
    setValue(target);
    selectAll();
}

QAbstractSpinBox::StepEnabled TSteppedSpinBox::stepEnabled() const {
    StepEnabled enabled = StepNone;
    if (value() + singleStep() <= maximum()) enabled |= StepUpEnabled;
    if (value() - singleStep() >= minimum()) enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State TSteppedSpinBox::validate(QString& text, int& position) const {
    QValidator::State state = QSpinBox::validate(text, position);
    if (state != QValidator::Acceptable) return state;
    return OnGrid(valueFromText(text)) ? QValidator::Acceptable : QValidator::Intermediate;
}

} // namespace korvo
