#include "cli/sim_command.h"

#include "cli/arguments.h"
#include "cli/sim_trace.h"
#include "cli/source_assembly.h"
#include "cli/stream_log.h"
#include "settings/qt_settings_store.h"
#include "simulator/debugger.h"
#include "simulator/number_text.h"
#include "simulator/simulation_session.h"
#include "simulator/status_strings.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace korvo::cli {

namespace {

constexpr std::int64_t kDefaultMaxInstructions = 1'000'000;

struct TSimOptions {
    std::int64_t MaxInstructions = kDefaultMaxInstructions;
    std::optional<int> ScratchPadSize;
    std::vector<std::pair<int, std::int32_t>> Inputs; // port, value
    std::vector<std::int64_t> InterruptsAt;           // ascending
    bool Trace = false;
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
    return options;
}

std::string RegisterName(const TPicoBlazeDebugger& simulator, int n) {
    return "s" + HexText(n, simulator.CoreKind() == TCoreKind::pbtII ? 2 : 1);
}

void PrintFinalState(const TPicoBlazeDebugger& simulator, std::int32_t frequencyMHz,
                     std::ostream& out) {
    TStatusStrings status = MakeStatusStrings(simulator, frequencyMHz);
    out << status.Instructions << "\n"
        << status.Time << "\n"
        << status.ProgramCounter << "\n"
        << status.StackPointer << "\n"
        << status.Stack << "\n";
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
    TTracingLog(std::ostream& out, TInstructionTrace* trace, TFailureReport& failures)
        : TStreamLog(out, &failures), trace_(trace) {}
    void AddLogLine(const std::string& text) override {
        if (trace_) trace_->FlushCompleted();
        TStreamLog::AddLogLine(text);
    }

private:
    TInstructionTrace* trace_;
};

// Runs the assembled program; the exit status.
int Simulate(TPicoBlazeDebugger& simulator, const TSimOptions& options,
             const ISettingsStore& settings, TFailureReport& failures, std::ostream& out,
             std::ostream& err) {
    TInstructionTrace trace(simulator, out);
    TTracingLog log(out, options.Trace ? &trace : nullptr, failures);
    TSimulationSession session(simulator, log, &settings);
    session.SetScratchPadSizeOverride(options.ScratchPadSize);
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
    TNoSleepRunClock clock;
    simulator.SetRunClock(clock);
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
    if (options.MaxInstructions > 0) simulator.RunLoop();
    trace.Finish();
    session.IO().FlushPendingLogs();
    simulator.OnBeforeStep = nullptr;
    simulator.OnAccess = nullptr;

    PrintFinalState(simulator, session.FrequencyMHz(), out);
    if (simulator.State() == ssHalted) return kExitHalted;
    return failures.Any() ? kExitOutputFailed : kExitSuccess;
}

} // namespace

int RunSimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    auto arguments = ParseArguments(
        args,
        {"--core", "--settings", "--max-instructions", "--scratchpad", "--in", "--interrupt-at"},
        {"--trace", "--no-exec"}, error);
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

    auto simulator = CreateDebugger(*core);
    TFailureReport failures(err, source);
    TStreamLog log(out, &failures);
    switch (AssembleSourceFile("sim", source, *simulator, log, *settings, err,
                               !arguments->Has("--no-exec"))
                .Outcome) {
    case TAssemblyOutcome::Unreadable: return kExitUsage;
    case TAssemblyOutcome::Failed: return kExitFailure;
    case TAssemblyOutcome::Assembled: break;
    }

    int status = Simulate(*simulator, *options, *settings, failures, out, err);
    out.flush();
    return status;
}

} // namespace korvo::cli
