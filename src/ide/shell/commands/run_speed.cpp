#include "shell/commands/run_speed.h"

#include "shell/commands/action_list.h"

#include <QActionGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QSpinBox>
#include <algorithm>

namespace korvo {

TRunSpeedCommands::TRunSpeedCommands(TActionList& actions, QObject* parent)
    : QObject(parent), group_(new QActionGroup(this)) {
    auto add = [&](const TCommandInfo& info, TRunSpeed speed) {
        QAction* action = actions.AddCheckable(
            info, [this, speed] { SetSpeed(speed); },
            [this, speed](QAction& a) { a.setChecked(speed_ == speed); });
        group_->addAction(action);
        return action;
    };
    actSpeedMaximum =
        add({"actSpeedMaximum", "Maximum", "Run as fast as possible", {}, {}}, TRunSpeed::Maximum);
    actSpeedRealTime =
        add({"actSpeedRealTime", "Real time", "Run at the clock frequency of the settings", {}, {}},
            TRunSpeed::RealTime);
    actSpeedAnimate = add({"actSpeedAnimate",
                           "Animate",
                           "Run the chosen number of instructions per second, following each "
                           "one",
                           {},
                           {}},
                          TRunSpeed::Animate);
    ShowSpeed();
}

TRunSpeedCommands::~TRunSpeedCommands() = default;

void TRunSpeedCommands::SetSpeed(TRunSpeed speed) {
    if (speed == speed_) return;
    speed_ = speed;
    ShowSpeed();
    emit Changed();
}

void TRunSpeedCommands::SetAnimateRate(int rate) {
    rate = std::clamp(rate, kMinAnimateRate, kMaxAnimateRate);
    if (rate == animateRate_) return;
    animateRate_ = rate;
    ShowSpeed();
    emit Changed();
}

TRunPace TRunSpeedCommands::Pace(std::int32_t frequencyMHz) const {
    return MakeRunPace(speed_, frequencyMHz, animateRate_);
}

void TRunSpeedCommands::ShowSpeed() {
    QAction* checked = speed_ == TRunSpeed::Maximum    ? actSpeedMaximum
                       : speed_ == TRunSpeed::RealTime ? actSpeedRealTime
                                                       : actSpeedAnimate;
    checked->setChecked(true);
    if (speedBox_) speedBox_->setCurrentIndex(static_cast<int>(speed_));
    if (rateBox_) {
        rateBox_->setValue(animateRate_);
        rateBox_->setEnabled(speed_ == TRunSpeed::Animate);
    }
}

QMenu* TRunSpeedCommands::CreateMenu(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("Speed"), parent);
    menu->setObjectName(QStringLiteral("mnuSpeed"));
    menu->addActions({actSpeedMaximum, actSpeedRealTime, actSpeedAnimate});
    return menu;
}

QWidget* TRunSpeedCommands::CreateToolBarWidget(QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QStringLiteral("runSpeed"));
    speedBox_ = new QComboBox(box);
    speedBox_->setObjectName(QStringLiteral("runSpeedChoice"));
    speedBox_->setToolTip(QStringLiteral("Speed of Run, Step Over and To Cursor"));
    for (QAction* action : {actSpeedMaximum, actSpeedRealTime, actSpeedAnimate})
        speedBox_->addItem(action->text());
    rateBox_ = new QSpinBox(box);
    rateBox_->setObjectName(QStringLiteral("animateRate"));
    rateBox_->setRange(kMinAnimateRate, kMaxAnimateRate);
    rateBox_->setSuffix(QStringLiteral(" instr/s"));
    rateBox_->setToolTip(QStringLiteral("Instructions per second of Animate"));
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(speedBox_);
    layout->addWidget(rateBox_);
    connect(speedBox_, &QComboBox::activated, this,
            [this](int index) { SetSpeed(static_cast<TRunSpeed>(index)); });
    connect(rateBox_, &QSpinBox::valueChanged, this, &TRunSpeedCommands::SetAnimateRate);
    ShowSpeed();
    return box;
}

} // namespace korvo
