#include "cli/sim_uart.h"

#include "cli/stdin_reader.h"
#include "common/number_text.h"
#include "uart/uart_bridges.h"

#include <QCoreApplication>
#include <ostream>

namespace korvo::cli {

TSimUartHost::TSimUartHost(TSimulationIO& io, const TOptions& options, ILog& log,
                           std::ostream& rawOut)
    : io_(io), options_(options), log_(log), rawOut_(rawOut) {
    if (options_.Stdio) stdin_ = std::make_unique<TStdinReader>();
}

TSimUartHost::~TSimUartHost() = default;

bool TSimUartHost::Open() {
    if (!options_.Tcp) return true;
    bridges_ = std::make_unique<TUartBridges>(io_, log_);
    return bridges_->Listen();
}

bool TSimUartHost::WaitForClient(const std::function<bool()>& stop) {
    for (;;) {
        if (bridges_ && bridges_->AnyClient()) return true;
        if (stop()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

void TSimUartHost::Pump(std::int64_t instructions) {
    if (options_.Tcp) QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Without a client the program's bytes wait for one.
    if (bridges_) bridges_->Pump(true);
    if (options_.Stdio && !io_.UARTs().empty()) {
        TUARTModel& uart = *io_.UARTs().front();
        std::string sent = uart.TakeOutput();
        if (!sent.empty()) rawOut_.write(sent.data(), static_cast<std::streamsize>(sent.size()));
        rawOut_.flush();
        std::string input = stdin_->Take(uart.InputRoom());
        uart.Feed(input);
        std::int64_t traffic = uart.BytesSent() + uart.BytesReceived();
        if (traffic != lastTraffic_) {
            lastTraffic_ = traffic;
            lastActivity_ = instructions;
        }
    }
}

bool TSimUartHost::InputDone(std::int64_t instructions, std::int64_t quietInstructions) const {
    if (!options_.Stdio || io_.UARTs().empty() || !stdin_->Ended()) return false;
    const TUARTModel& uart = *io_.UARTs().front();
    return uart.PendingInput() == 0 && uart.ReceiveFill() == 0 && uart.TransmitFill() == 0 &&
           uart.PendingOutput() == 0 && instructions - lastActivity_ >= quietInstructions;
}

std::vector<std::string> UartCountLines(const TSimulationIO& io) {
    std::vector<std::string> lines;
    for (const auto& uart : io.UARTs())
        lines.push_back("UART $" + HexText(uart->StatusPort(), 2) + ": " +
                        std::to_string(uart->BytesSent()) + " sent, " +
                        std::to_string(uart->BytesReceived()) + " received, " +
                        std::to_string(uart->BytesLost()) + " lost");
    return lines;
}

} // namespace korvo::cli
