#include "panels/frame_output.h"

#include "panels/led.h"
#include "panels/panel_widgets.h"
#include "shell/user_dialogs.h"

#include <QGroupBox>
#include <QLabel>

namespace korvo {

namespace {
constexpr int kFirstColumn = 42;
constexpr int kColumnStep = 18;
const QString kValueHint = QStringLiteral("Double click to change value");
const QString kLEDHint = QStringLiteral("Click to toggle LED on/off");
} // namespace

TFrameOutput::TFrameOutput(TOutputPortModel& model, IUserDialogs& dialogs,
                           TMessageHandler onMessage, QWidget* parent)
    : QWidget(parent), model_(model), dialogs_(dialogs), onMessage_(std::move(onMessage)) {
    setFixedSize(kWidth, kHeight);
    GroupBox = new QGroupBox(QStringLiteral(" DSIO "), this);
    GroupBox->setObjectName(QStringLiteral("GroupBox"));
    GroupBox->setGeometry(0, 0, kWidth, kHeight);

    PortLabel = new QLabel(GroupBox);
    PortLabel->setObjectName(QStringLiteral("PortLabel"));
    PortLabel->setFont(PanelFont());
    PortLabel->setGeometry(6, 15, 34, 14);
    ValueLabel = new TValueLabel(GroupBox);
    ValueLabel->setObjectName(QStringLiteral("ValueLabel"));
    ValueLabel->setFont(PanelDigitFont());
    ValueLabel->setGeometry(6, 30, 36, 15);
    connect(ValueLabel, &TValueLabel::DoubleClicked, this, [this] { EnterValue(); });

    QFont digitFont = PanelFont();
    digitFont.setPixelSize(9);
    for (int bit = 0; bit < 8; ++bit) {
        int x = kFirstColumn + (7 - bit) * kColumnStep;
        auto* led = new TLED(GroupBox);
        led->setObjectName(QStringLiteral("LED%1").arg(bit));
        led->Tag = bit;
        led->move(x + 1, 17);
        connect(led, &TLED::Clicked, this, [this](int tag) { ToggleBit(tag % 8); });
        LEDs[bit] = led;
        auto* digit = new QLabel(QString::number(bit), GroupBox);
        digit->setFont(digitFont);
        digit->setAlignment(Qt::AlignCenter);
        digit->setGeometry(x, 32, 14, 11);
    }
    SetOutputOnly(model_.OutputOnly());
    Refresh();
}

void TFrameOutput::SetPort(int port) {
    PortLabel->setText(DollarHex(port));
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

void TFrameOutput::SetName(const QString& name) {
    GroupBox->setTitle(QLatin1Char(' ') + name + QLatin1Char(' '));
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
