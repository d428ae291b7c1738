#include "panels/frame_output.h"

#include "base/user_dialogs.h"
#include "panels/led.h"
#include "panels/panel_widgets.h"

#include <QGroupBox>
#include <QLabel>

namespace korvo {

namespace {
const QString kValueHint = QStringLiteral("Double click to change value");
const QString kLEDHint = QStringLiteral("Click to toggle LED on/off");
} // namespace

TFrameOutput::TFrameOutput(TOutputPortModel& model, IUserDialogs& dialogs,
                           TMessageHandler onMessage, QWidget* parent)
    : TPortFrame(QStringLiteral(" DSIO "), parent), model_(model), dialogs_(dialogs),
      onMessage_(std::move(onMessage)) {
    for (int bit = 0; bit < 8; ++bit) {
        int x = BitColumn(bit);
        auto* led = new TLED(GroupBox);
        led->setObjectName(QStringLiteral("LED%1").arg(bit));
        led->Tag = bit;
        led->move(x + 1, 17);
        connect(led, &TLED::Clicked, this, [this](int tag) { ToggleBit(tag % 8); });
        LEDs[bit] = led;
        AddBitDigit(bit, x);
    }
    SetOutputOnly(model_.OutputOnly());
    Refresh();
}

void TFrameOutput::SetOutputOnly(bool outputOnly) {
    outputOnly_ = outputOnly;
    GroupBox->setTitle(outputOnly ? QStringLiteral(" OUT ") : QStringLiteral(" IO "));
    ValueLabel->setToolTip(outputOnly ? QString() : kValueHint);
    for (TLED* led : LEDs) {
        led->SetColour(outputOnly ? lcGreen : lcRed);
        led->setToolTip(outputOnly ? QString() : kLEDHint);
        led->setCursor(outputOnly ? Qt::ArrowCursor : Qt::PointingHandCursor);
    }
}

void TFrameOutput::Refresh() {
    std::int32_t value = model_.Value();
    for (int bit = 0; bit < 8; ++bit)
        LEDs[bit]->SetLit((value >> bit) & 1);
    SetLabelText(*ValueLabel, DollarHex(value));
}

void TFrameOutput::ToggleBit(int bit) {
    if (outputOnly_) return;
    model_.ToggleBit(bit, onMessage_);
    Refresh();
}

void TFrameOutput::EnterValue() {
    if (outputOnly_) return;
    std::int32_t value = model_.Value();
    if (!dialogs_.EnterValue(window(), model_.Port(), value)) return;
    model_.EnterValue(value, onMessage_);
    Refresh();
}

} // namespace korvo
