#include "panels/frame_input.h"

#include "panels/panel_widgets.h"
#include "shell/user_dialogs.h"
#include "simulator/io_models.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace korvo {

namespace {
// Switch columns: bit 7 at the left, 18 pixels apart.
constexpr int kFirstColumn = 42;
constexpr int kColumnStep = 18;
} // namespace

TFrameInput::TFrameInput(TInputPortModel& model, IUserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), model_(model), dialogs_(dialogs) {
    setFixedSize(kWidth, kHeight);
    GroupBox = new QGroupBox(QStringLiteral(" IN "), this);
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
    ValueLabel->setToolTip(QStringLiteral("Double click to change value"));
    connect(ValueLabel, &TValueLabel::DoubleClicked, this, [this] { EnterValue(); });

    QFont digitFont = PanelFont();
    digitFont.setPixelSize(9);
    for (int bit = 0; bit < 8; ++bit) {
        int x = kFirstColumn + (7 - bit) * kColumnStep;
        auto* box = new QCheckBox(GroupBox);
        box->setObjectName(QStringLiteral("Switch%1").arg(bit));
        box->setProperty("Tag", bit);
        box->setGeometry(x, 15, 16, 16);
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QCheckBox::clicked, this, [this, bit] { FlipBit(bit); });
        Switches[bit] = box;
        auto* digit = new QLabel(QString::number(bit), GroupBox);
        digit->setFont(digitFont);
        digit->setAlignment(Qt::AlignCenter);
        digit->setGeometry(x - 1, 32, 14, 11);
    }
    Refresh();
}

void TFrameInput::SetPort(int port) {
    PortLabel->setText(DollarHex(port));
}

void TFrameInput::SetName(const QString& name) {
    GroupBox->setTitle(QLatin1Char(' ') + name + QLatin1Char(' '));
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
