#pragma once

#include <QGroupBox>

class QCheckBox;
class QSpinBox;

namespace korvo {

class ISettingsStore;

// The " UART " group of the Misc page: the line speed of the simulated
// UARTs and whether a simulation serves their TCP ports.
class TUartSettingsGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TUartSettingsGroup(QWidget* parent = nullptr);

    // "UART": "Baud" and "TcpBridge".
    void Load(const ISettingsStore& settings);
    void Store(ISettingsStore& settings) const;

    QSpinBox* Baud = nullptr;
    QCheckBox* TcpBridge = nullptr;
};

} // namespace korvo
