#pragma once

#include "simulator/run_pace.h"

#include <QObject>

class QAction;
class QActionGroup;
class QComboBox;
class QMenu;
class QSpinBox;
class QWidget;

namespace korvo {

class TActionList;

// The speed of runs: Maximum, Real time or Animate at a number of
// instructions per second, chosen in the Simulate menu or on the tool bar.
class TRunSpeedCommands : public QObject {
    Q_OBJECT
public:
    explicit TRunSpeedCommands(TActionList& actions, QObject* parent = nullptr);
    ~TRunSpeedCommands() override;

    TRunSpeed Speed() const { return speed_; }
    void SetSpeed(TRunSpeed speed);
    int AnimateRate() const { return animateRate_; }
    void SetAnimateRate(int rate);
    // The pace of the chosen speed for a clock of frequencyMHz.
    TRunPace Pace(std::int32_t frequencyMHz) const;

    // The "Speed" submenu, and the tool bar's speed box and rate box.
    QMenu* CreateMenu(QWidget* parent);
    QWidget* CreateToolBarWidget(QWidget* parent);

    QAction* actSpeedMaximum = nullptr;
    QAction* actSpeedRealTime = nullptr;
    QAction* actSpeedAnimate = nullptr;

signals:
    // The speed or the rate changed.
    void Changed();

private:
    void ShowSpeed();

    QActionGroup* group_;
    TRunSpeed speed_ = TRunSpeed::Maximum;
    int animateRate_ = 10;
    QComboBox* speedBox_ = nullptr;
    QSpinBox* rateBox_ = nullptr;
};

} // namespace korvo
