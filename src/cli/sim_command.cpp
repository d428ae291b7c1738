#include "cli/sim_command.h"

#include "cli/arguments.h"
#include "cli/sim_options.h"
#include "cli/sim_run.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"

#include <csignal>
#include <ostream>

namespace korvo::cli {

namespace {

// The signal that asked a UART run to stop (0 for none).
volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void StopOnSignal(int signal) {
    gStopSignal = signal;
}

// Catches Ctrl+C and termination for the life of a run that has no end of
// its own, so that it still ends with its report.
class TStopSignals {
public:
    explicit TStopSignals(bool active) : active_(active) {
        gStopSignal = 0;
        if (!active_) return;
        previousInterrupt_ = std::signal(SIGINT, StopOnSignal);
        previousTerminate_ = std::signal(SIGTERM, StopOnSignal);
    }
    ~TStopSignals() {
        if (!active_) return;
        std::signal(SIGINT, previousInterrupt_);
        std::signal(SIGTERM, previousTerminate_);
    }
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

private:
    bool active_;
    void (*previousInterrupt_)(int) = nullptr;
    void (*previousTerminate_)(int) = nullptr;
};

} // namespace

std::string SimSynopsis() {
    return "sim " + OptionsSynopsis(SimOptions()) + " SOURCE";
}

std::string SimHelp() {
    return "Assembles SOURCE as korvo asm does (the EXEC command included), then runs it\n"
           "in the simulator without sleeping until it halts, writes its exit port,\n"
           "writes a value --expect-out does not expect, or the instruction limit is\n"
           "reached (a UART run has no limit unless given and also ends on Ctrl+C or\n"
           "once standard input is done). Standard output gets every log line and, at\n"
           "the end, the status texts, the registers and the flags (standard error when\n"
           "a result file or a UART has standard output); errors and failures also go to\n"
           "standard error as for korvo asm (a log or stimulus file of a port included).\n"
           "Ports and values: 255, $FF or 0xFF; quote a $ value for the shell: --in\n"
           "'0=$A5'. A port that --in or --expect-out names and the source does not\n"
           "declare is a plain input or output port. A result file replaces its file\n"
           "only once the run has written it whole.\n"
           "\n" +
           OptionsHelp(SimOptions(), 24) +
           "\n"
           "exit status:\n"
           "  0  done (exit port 0), every output written\n"
           "  1  errors in the source or its included files, or a VHDL template that\n"
           "     cannot be read\n"
           "  2  a bad command line (a value or port out of range included), or a\n"
           "     source, --settings or --expect-out file that cannot be read\n"
           "  3  the simulation halted on an error\n"
           "  4  an output or input failed (a --json, --vcd or --coverage file, a file\n"
           "     the source names, a log or stimulus file or one of its lines, the SVF\n"
           "     settings, the EXEC command, a UART port --uart-wait cannot serve)\n"
           "  5  the exit port got another value than 0, or none\n"
           "  6  a port was written other than --expect-out expects\n"
           "  128 + N  a UART run was stopped by signal N\n";
}

int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int status = kExitSuccess;
    auto prepared = PrepareSim("sim", args, out, err, status);
    if (!prepared) return status;
    const TSimOptions& options = prepared->Options;
    TPicoBlazeSimulator& simulator = *prepared->Simulator;
    TStopSignals stopSignals(options.UsesUart());
    TSimRun run(*prepared, out, err);
    if (auto failed = run.Begin([] { return gStopSignal != 0; })) return *failed;
    TSimulationSession& session = run.Session();
    if (options.UsesUart()) {
        // One simulated second without traffic after the input ended.
        std::int64_t quiet = static_cast<std::int64_t>(session.FrequencyMHz()) * 500'000;
        simulator.OnYield = [&run, &simulator, quiet](TSimulator&) {
            run.PumpUarts();
            if (gStopSignal || run.UartInputDone(quiet)) simulator.Pause();
        };
    }
    if (options.MaxInstructions != 0 && !gStopSignal)
        session.Run();
    else
        session.IO().SynchronizeUARTs();
    status = run.End(gStopSignal);
    out.flush();
    err.flush();
    return status;
}

} // namespace korvo::cli
