#pragma once

#include "common/log.h"
#include "simulator/io_router.h"
#include "uart/uart_tcp_bridge.h"

#include <memory>
#include <vector>

namespace korvo {

// The TCP ports of a simulation's UARTs, one bridge for each UART of the
// devices it is made for; it must go before those devices do.
class TUartBridges {
public:
    TUartBridges(TSimulationIO& io, ILog& log);
    ~TUartBridges();
    TUartBridges(const TUartBridges&) = delete;
    TUartBridges& operator=(const TUartBridges&) = delete;

    // Listens on every UART's port; false when none could be had.
    bool Listen();
    // The bridge of one of the UARTs.
    TUartTcpBridge* Of(const TUARTModel& uart) const;
    bool AnyClient() const;
    // Moves the bytes that are due on every port (see TUartTcpBridge::Pump).
    void Pump(bool holdWithoutClient);

private:
    std::vector<std::unique_ptr<TUartTcpBridge>> bridges_;
};

} // namespace korvo
