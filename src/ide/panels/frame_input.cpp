#include "panels/frame_input.h"

#include "base/user_dialogs.h"
#include "panels/panel_widgets.h"
#include "simulator/io_models.h"

#include <QCheckBox>
#include <QGroupBox>

namespace korvo {

TFrameInput::TFrameInput(TInputPortModel& model, IUserDialogs& dialogs, QWidget* parent)
    : TPortFrame(QStringLiteral(" IN "), parent), model_(model), dialogs_(dialogs) {
    ValueLabel->setToolTip(QStringLiteral("Double click to change value"));
    for (int bit = 0; bit < 8; ++bit) {
        int x = BitColumn(bit);
        auto* box = new QCheckBox(GroupBox);
        box->setObjectName(QStringLiteral("Switch%1").arg(bit));
        box->setProperty("Tag", bit);
        box->setGeometry(x, 15, 16, 16);
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QCheckBox::clicked, this, [this, bit] { FlipBit(bit); });
        Switches[bit] = box;
        AddBitDigit(bit, x - 1);
    }
    Refresh();
}

void TFrameInput::Refresh() {
    updating_ = true;
    std::int32_t value = model_.Value();
    for (int bit = 0; bit < 8; ++bit) {
        bool on = (value >> bit) & 1;
        if (Switches[bit]->isChecked() != on) Switches[bit]->setChecked(on);
    }
    SetLabelText(*ValueLabel, DollarHex(value));
    updating_ = false;
}

void TFrameInput::FlipBit(int bit) {
    if (updating_) return;
    model_.SetValue(model_.Value() ^ (1 << bit));
    Refresh();
}

void TFrameInput::EnterValue() {
    std::int32_t value = model_.Value();
    if (!dialogs_.EnterValue(window(), model_.Port(), value)) return;
    model_.SetValue(value);
    Refresh();
}

} // namespace korvo
