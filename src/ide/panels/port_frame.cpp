#include "panels/port_frame.h"

#include "panels/panel_widgets.h"

#include <QGroupBox>
#include <QLabel>

namespace korvo {

namespace {
// Bit columns: bit 7 at the left, 18 pixels apart.
constexpr int kFirstColumn = 42;
constexpr int kColumnStep = 18;
} // namespace

TPortFrame::TPortFrame(const QString& caption, QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    GroupBox = new QGroupBox(caption, this);
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
}

void TPortFrame::SetPort(int port) {
    PortLabel->setText(DollarHex(port));
}

void TPortFrame::SetName(const QString& name) {
    GroupBox->setTitle(QLatin1Char(' ') + name + QLatin1Char(' '));
}

int TPortFrame::BitColumn(int bit) {
    return kFirstColumn + (7 - bit) * kColumnStep;
}

void TPortFrame::AddBitDigit(int bit, int x) {
    QFont digitFont = PanelFont();
    digitFont.setPixelSize(9);
    auto* digit = new QLabel(QString::number(bit), GroupBox);
    digit->setFont(digitFont);
    digit->setAlignment(Qt::AlignCenter);
    digit->setGeometry(x, 32, 14, 11);
}

} // namespace korvo
