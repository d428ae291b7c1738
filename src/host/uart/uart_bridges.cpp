#include "uart/uart_bridges.h"

namespace korvo {

TUartBridges::TUartBridges(TSimulationIO& io, ILog& log) {
    for (const auto& uart : io.UARTs())
        bridges_.push_back(std::make_unique<TUartTcpBridge>(*uart, log));
}

TUartBridges::~TUartBridges() = default;

bool TUartBridges::Listen() {
    bool any = false;
    for (const auto& bridge : bridges_)
        any = bridge->Listen() || any;
    return any;
}

TUartTcpBridge* TUartBridges::Of(const TUARTModel& uart) const {
    for (const auto& bridge : bridges_)
        if (&bridge->Uart() == &uart) return bridge.get();
    return nullptr;
}

bool TUartBridges::AnyClient() const {
    for (const auto& bridge : bridges_)
        if (bridge->HasClient()) return true;
    return false;
}

void TUartBridges::Pump(bool holdWithoutClient) {
    for (const auto& bridge : bridges_)
        bridge->Pump(holdWithoutClient);
}

} // namespace korvo
