#include "cli/sim_command.h"

#include "cli/arguments.h"
#include "cli/sim_trace.h"
#include "cli/sim_uart.h"
#include "cli/source_assembly.h"
#include "cli/stream_log.h"
#include "common/settings_layout.h"
#include "settings/qt_settings_store.h"
#include "simulator/debugger.h"
#include "simulator/number_text.h"
#include "simulator/simulation_session.h"
#include "simulator/status_strings.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <ostream>

namespace korvo::cli {

namespace {

constexpr std::int64_t kDefaultMaxInstructions = 1'000'000;

struct TSimOptions {
    std::int64_t MaxInstructions = kDefaultMaxInstructions; // -1: no limit
    std::optional<int> ScratchPadSize;
    std::vector<std::pair<int, std::int32_t>> Inputs; // port, value
    std::vector<std::int64_t> InterruptsAt;           // ascending
    bool Trace = false;
    std::optional<std::int32_t> UartBaud;
    TSimUartHost::TOptions Uart;
    bool UartWait = false;
    bool RealTime = false;
    bool UsesUart() const { return Uart.Stdio || Uart.Tcp; }
};

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

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo sim: " << message << " (usage: korvo " << kSimSynopsis << ")\n";
    return kExitUsage;
}

std::optional<std::int64_t> ParseCount(const std::string& text) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

// A port as users write it: "$" and hexadecimal digits, or decimal; 0..255.
std::optional<int> ParsePort(const std::string& text) {
    auto value = ParseIntegerText(text);
    if (!value || *value < 0 || *value > 255) return std::nullopt;
    return *value;
}

std::optional<TSimOptions> ReadOptions(const TArguments& arguments, std::string& error) {
    TSimOptions options;
    if (auto text = arguments.Last("--max-instructions")) {
        auto count = ParseCount(*text);
        if (!count) {
            error = "--max-instructions needs a whole number of at least 0, not '" + *text + "'";
            return std::nullopt;
        }
        options.MaxInstructions = *count;
    }
    if (auto text = arguments.Last("--scratchpad")) {
        auto size = ParseCount(*text);
        static constexpr int kSizes[] = {0, 16, 32, 64, 128, 256};
        if (!size || std::find(std::begin(kSizes), std::end(kSizes), *size) == std::end(kSizes)) {
            error = "--scratchpad takes 0, 16, 32, 64, 128 or 256, not '" + *text + "'";
            return std::nullopt;
        }
        options.ScratchPadSize = static_cast<int>(*size);
    }
    for (const auto& assignment : arguments.All("--in")) {
        auto equals = assignment.find('=');
        std::optional<int> port;
        std::optional<std::int32_t> value;
        if (equals != std::string::npos) {
            port = ParsePort(assignment.substr(0, equals));
            value = ParseIntegerText(assignment.substr(equals + 1));
        }
        if (!port || !value) {
            error = "--in takes PORT=VALUE (0 to 255 or $00 to $FF, and a number), not '" +
                    assignment + "'";
            return std::nullopt;
        }
        options.Inputs.emplace_back(*port, *value);
    }
    for (const auto& text : arguments.All("--interrupt-at")) {
        auto count = ParseCount(text);
        if (!count) {
            error = "--interrupt-at needs a whole number of at least 0, not '" + text + "'";
            return std::nullopt;
        }
        options.InterruptsAt.push_back(*count);
    }
    std::sort(options.InterruptsAt.begin(), options.InterruptsAt.end());
    options.Trace = arguments.Has("--trace");
    if (auto text = arguments.Last("--uart-baud")) {
        auto baud = ParseCount(*text);
        if (!baud || *baud < settings::kMinUartBaud || *baud > settings::kMaxUartBaud) {
            error = "--uart-baud takes a whole number from " +
                    std::to_string(settings::kMinUartBaud) + " to " +
                    std::to_string(settings::kMaxUartBaud) + ", not '" + *text + "'";
            return std::nullopt;
        }
        options.UartBaud = static_cast<std::int32_t>(*baud);
    }
    options.Uart.Stdio = arguments.Has("--uart-stdio");
    options.Uart.Tcp = arguments.Has("--uart-tcp");
    options.UartWait = arguments.Has("--uart-wait");
    options.RealTime = arguments.Has("--real-time");
    if (options.Uart.Stdio && options.Uart.Tcp) {
        error = "--uart-stdio and --uart-tcp cannot be used together";
        return std::nullopt;
    }
    if (options.UartWait && !options.Uart.Tcp) {
        error = "--uart-wait needs --uart-tcp";
        return std::nullopt;
    }
    // A run that talks to the world has no end of its own unless given one.
    if (options.UsesUart() && !arguments.Last("--max-instructions")) options.MaxInstructions = -1;
    return options;
}

std::string RegisterName(const TPicoBlazeDebugger& simulator, int n) {
    return "s" + HexText(n, simulator.CoreKind() == TCoreKind::pbtII ? 2 : 1);
}

void PrintFinalState(TSimulationSession& session, std::ostream& out) {
    const TPicoBlazeDebugger& simulator = session.Simulator();
    TStatusStrings status = MakeStatusStrings(simulator, session.FrequencyMHz());
    out << status.Instructions << "\n"
        << status.Time << "\n"
        << status.ProgramCounter << "\n"
        << status.StackPointer << "\n"
        << status.Stack << "\n";
    for (const auto& line : UartCountLines(session.IO()))
        out << line << "\n";
    for (int n = 0; n < simulator.RegisterCount(); ++n)
        out << (n ? " " : "") << RegisterName(simulator, n) << "=$"
            << HexText(simulator.Register(n), 2);
    out << "\nZ=" << simulator.ZeroFlag() << " C=" << simulator.CarryFlag()
        << " IE=" << simulator.InterruptEnable() << "\n";
}

// The log during the run: the trace of an instruction comes before the log
// lines that follow it.
class TTracingLog : public TStreamLog {
public:
    TTracingLog(std::ostream& out, TInstructionTrace* trace) : TStreamLog(out), trace_(trace) {}
    void AddLogLine(const std::string& text) override {
        if (trace_) trace_->FlushCompleted();
        TStreamLog::AddLogLine(text);
    }

private:
    TInstructionTrace* trace_;
};

// Runs the assembled program; the exit status. The log, the trace and the
// report go to out, the UART's bytes with --uart-stdio to raw.
int Simulate(TPicoBlazeDebugger& simulator, const TSimOptions& options,
             const ISettingsStore& settings, std::ostream& out, std::ostream& raw,
             std::ostream& err) {
    TInstructionTrace trace(simulator, out);
    TTracingLog log(out, options.Trace ? &trace : nullptr);
    TSimulationSession session(simulator, log, &settings);
    session.SetScratchPadSizeOverride(options.ScratchPadSize);
    session.SetUartBaudOverride(options.UartBaud);
    session.IO().OnMessage = [&err](const std::string& text) {
        err << "korvo sim: " << text << "\n";
    };
    std::string inputError;
    // The --in values are the switches of the input frames: set before the
    // reset, so that a stimulus file still gives the first value.
    session.OnStateEntered = [&](TSimulatorState state) {
        if (state != ssLoaded) return;
        for (const auto& [port, value] : options.Inputs) {
            if (auto* input = session.IO().InputPort(port))
                input->SetValue(value);
            else
                inputError = "--in: port $" + HexText(port, 2) + " is not an input port";
        }
    };
    // Real time needs real sleeps; a run at full speed has nothing to yield to.
    TNoSleepRunClock noSleep;
    if (!options.RealTime) simulator.SetRunClock(noSleep);
    simulator.SetInstructionLimit(options.MaxInstructions);

    std::size_t nextInterrupt = 0;
    if (options.Trace || !options.InterruptsAt.empty()) {
        simulator.OnBeforeStep = [&](TDebugger&) {
            if (options.Trace) trace.BeforeCycle();
            std::int64_t count = simulator.InstructionCount();
            while (nextInterrupt < options.InterruptsAt.size() &&
                   options.InterruptsAt[nextInterrupt] <= count) {
                if (options.InterruptsAt[nextInterrupt] == count) simulator.SetInterruptEdge(true);
                ++nextInterrupt;
            }
        };
    }
    if (options.Trace)
        simulator.OnAccess = [&](char kind, std::int32_t address, std::int32_t value) {
            trace.Access(kind, address, value);
        };

    simulator.Start();
    if (!inputError.empty()) return UsageError(err, inputError);
    if (options.UsesUart() && session.IO().UARTs().empty())
        return UsageError(err, std::string(options.Uart.Stdio ? "--uart-stdio" : "--uart-tcp") +
                                   ": the program declares no UART");
    if (options.RealTime)
        simulator.SetRunPace(MakeRunPace(TRunSpeed::RealTime, session.FrequencyMHz(), 0));

    TStopSignals stopSignals(options.UsesUart());
    TSimUartHost uarts(session.IO(), options.Uart, log, raw);
    if (options.UsesUart()) {
        if (!uarts.Open() && options.UartWait) {
            err << "korvo sim: --uart-wait: no UART port could be served\n";
            return kExitFailure;
        }
        // One simulated second without traffic after the input ended.
        std::int64_t quiet = static_cast<std::int64_t>(session.FrequencyMHz()) * 500'000;
        simulator.OnYield = [&, quiet](TDebugger&) {
            uarts.Pump(simulator.InstructionCount());
            out.flush(); // the log of a long run shows as it goes
            if (gStopSignal || uarts.InputDone(simulator.InstructionCount(), quiet))
                simulator.Pause();
        };
        if (options.UartWait) {
            log.AddLogLine("!Waiting for a client");
            out.flush();
            uarts.WaitForClient([] { return gStopSignal != 0; });
        }
    }
    if (options.MaxInstructions != 0 && !gStopSignal) simulator.RunLoop();
    session.IO().SynchronizeUARTs();
    uarts.Pump(simulator.InstructionCount());
    trace.Finish();
    session.IO().FlushPendingLogs();
    simulator.OnBeforeStep = nullptr;
    simulator.OnAccess = nullptr;
    simulator.OnYield = nullptr;

    PrintFinalState(session, out);
    if (options.UsesUart() && gStopSignal) return 128 + gStopSignal;
    return simulator.State() == ssHalted ? kExitHalted : kExitSuccess;
}

} // namespace

int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    auto arguments = ParseArguments(
        args,
        {"--core", "--settings", "--max-instructions", "--scratchpad", "--in", "--interrupt-at",
         "--uart-baud"},
        {"--trace", "--no-exec", "--uart-stdio", "--uart-tcp", "--uart-wait", "--real-time"},
        error);
    if (!arguments) return UsageError(err, error);
    if (arguments->Positional.size() != 1)
        return UsageError(err, arguments->Positional.empty() ? "no source file given"
                                                             : "only one source file is allowed");
    const std::string& source = arguments->Positional.front();
    auto options = ReadOptions(*arguments, error);
    if (!options) return UsageError(err, error);

    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *settings, error);
    if (!core) return UsageError(err, error);

    // With the UART on standard output, every text goes to standard error.
    std::ostream& text = options->Uart.Stdio ? err : out;
    auto simulator = CreateDebugger(*core);
    TStreamLog log(text);
    switch (AssembleSourceFile("sim", source, *simulator, log, *settings, err,
                               !arguments->Has("--no-exec"))
                .Outcome) {
    case TAssemblyOutcome::Unreadable: return kExitUsage;
    case TAssemblyOutcome::Aborted:
    case TAssemblyOutcome::Failed: return kExitFailure;
    case TAssemblyOutcome::Assembled: break;
    }

    int status = Simulate(*simulator, *options, *settings, text, out, err);
    out.flush();
    err.flush();
    return status;
}

} // namespace korvo::cli
