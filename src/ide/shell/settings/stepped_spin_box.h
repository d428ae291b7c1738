#pragma once

#include <QSpinBox>

namespace korvo {

// An up-down whose values are Base, Base + Step, Base + 2 * Step ... up to
// its maximum. Stepping never leaves that grid (a step that would pass the
// maximum or the minimum does nothing), and typed text is taken only when it
// names a value of the grid.
class TSteppedSpinBox : public QSpinBox {
    Q_OBJECT
public:
    TSteppedSpinBox(int base, int step, int maximum, QWidget* parent = nullptr);

    // Moves the grid; the minimum becomes the new base.
    void SetBase(int base);
    int Base() const { return minimum(); }

    void stepBy(int steps) override;

protected:
    QValidator::State validate(QString& text, int& position) const override;
    StepEnabled stepEnabled() const override;

private:
    bool OnGrid(int value) const;
};

} // namespace korvo
