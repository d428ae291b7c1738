#include "shell/settings/settings_uart_group.h"

#include "common/settings_layout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace korvo {

TUartSettingsGroup::TUartSettingsGroup(QWidget* parent)
    : QGroupBox(QStringLiteral(" UART "), parent) {
    Baud = new QSpinBox(this);
    Baud->setObjectName(QStringLiteral("uartBaud"));
    Baud->setRange(settings::kMinUartBaud, settings::kMaxUartBaud);
    Baud->setValue(settings::kDefaultUartBaud);
    Baud->setGroupSeparatorShown(false);
    auto* label = new QLabel(QStringLiteral("Baud rate:"), this);
    label->setBuddy(Baud);
    TcpBridge = new QCheckBox(QStringLiteral("Serve the TCP ports on 127.0.0.1"), this);
    TcpBridge->setObjectName(QStringLiteral("uartTcpBridge"));
    TcpBridge->setToolTip(QStringLiteral(
        "While a simulation runs, each UART takes one client at its declared TCP port"));
    TcpBridge->setChecked(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(Baud, 0, 1);
    layout->setColumnStretch(2, 1);
    layout->addWidget(TcpBridge, 1, 0, 1, 3);
}

void TUartSettingsGroup::Load(const ISettingsStore& settings) {
    Baud->setValue(settings::LoadUartBaud(settings));
    TcpBridge->setChecked(settings::LoadUartTcpBridge(settings));
}

void TUartSettingsGroup::Store(ISettingsStore& settings) const {
    settings::StoreUartBaud(settings, Baud->value());
    settings::StoreUartTcpBridge(settings, TcpBridge->isChecked());
}

} // namespace korvo
