#pragma once

#include "common/log.h"
#include "simulator/io_router.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace korvo {
class TUartBridges;
}

namespace korvo::cli {

class TStdinReader;

// The other ends of the UARTs in korvo sim: standard input and output for
// the first UART (--uart-stdio), or the declared TCP ports on 127.0.0.1
// (--uart-tcp).
class TSimUartHost {
public:
    struct TOptions {
        bool Stdio = false;
        bool Tcp = false;
    };

    // rawOut receives the first UART's bytes with Stdio.
    TSimUartHost(TSimulationIO& io, const TOptions& options, ILog& log, std::ostream& rawOut);
    ~TSimUartHost();
    TSimUartHost(const TSimUartHost&) = delete;
    TSimUartHost& operator=(const TSimUartHost&) = delete;

    // With Tcp, listens on every UART's port; false when none could be had.
    bool Open();
    // Serves the ports until a client is there; false when stop says so
    // first.
    bool WaitForClient(const std::function<bool()>& stop);
    // Moves the bytes that are due (at the yields and the end of a run).
    void Pump(std::int64_t instructions);
    // With Stdio: standard input has ended, the program has read all of it
    // and the UART has been quiet for quietInstructions.
    bool InputDone(std::int64_t instructions, std::int64_t quietInstructions) const;

private:
    TSimulationIO& io_;
    TOptions options_;
    ILog& log_;
    std::ostream& rawOut_;
    std::unique_ptr<TStdinReader> stdin_;
    std::unique_ptr<TUartBridges> bridges_;
    std::int64_t lastTraffic_ = -1;
    std::int64_t lastActivity_ = 0;
};

// "UART $04: 12 sent, 3 received, 0 lost" for each UART.
std::vector<std::string> UartCountLines(const TSimulationIO& io);

} // namespace korvo::cli
