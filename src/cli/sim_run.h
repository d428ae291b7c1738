#pragma once

#include "cli/sim_options.h"
#include "cli/stream_log.h"
#include "common/settings.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvo {
class TPicoBlazeSimulator;
class TSimulationSession;
} // namespace korvo

namespace korvo::cli {

// "korvo COMMAND: MESSAGE; try 'korvo COMMAND --help'" on err; kExitUsage.
int CommandUsageError(std::ostream& err, const std::string& command, const std::string& message);

// A program that korvo sim's command line has assembled, ready for its run.
struct TPreparedSim {
    std::string Command; // "sim": the messages name it
    std::unique_ptr<ISettingsStore> Settings;
    std::unique_ptr<TPicoBlazeSimulator> Simulator;
    TSimOptions Options;
    std::string Source;
    std::vector<std::string> AssemblyInputs; // the source first
    std::optional<std::string> SettingsFile;
    std::unique_ptr<TFailureReport> Failures;

    TPreparedSim();
    ~TPreparedSim();
    TPreparedSim(TPreparedSim&&) noexcept;
    TPreparedSim& operator=(TPreparedSim&&) noexcept;
};

// Reads korvo sim's arguments (options and SOURCE), builds the core they
// choose and assembles SOURCE into it; the log lines go to out (to err when
// a result or the UART has standard output). Messages name the command.
// Nothing, with exitStatus set, when the command line is bad or the
// assembly failed.
std::optional<TPreparedSim> PrepareSim(const std::string& command,
                                       const std::vector<std::string>& args, std::ostream& out,
                                       std::ostream& err, int& exitStatus);

// The run of a prepared program: Begin checks the ports and result files,
// builds the session with the observers the options ask for and starts the
// simulator (paused at 0); the caller then runs the session as it likes;
// End writes the report and the result files and gives the exit status.
class TSimRun {
public:
    TSimRun(TPreparedSim& prepared, std::ostream& out, std::ostream& err);
    ~TSimRun();
    TSimRun(const TSimRun&) = delete;
    TSimRun& operator=(const TSimRun&) = delete;

    // Nothing when the run may start, else the exit status it failed with.
    // stopWaiting ends the wait for a UART client (--uart-wait).
    std::optional<int> Begin(const std::function<bool()>& stopWaiting);
    TSimulationSession& Session();
    // Moves the UART bytes that are due between the UARTs and their hosts.
    void PumpUarts();
    // With --uart-stdio: standard input is done and the UART has been quiet
    // for quietInstructions.
    bool UartInputDone(std::int64_t quietInstructions) const;
    // After the run: the report, the result files; the exit status. A UART
    // run stopped by a signal ends with 128 + stopSignal.
    int End(int stopSignal = 0);

private:
    struct TState;
    TPreparedSim& prepared_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<TState> state_;
};

} // namespace korvo::cli
