#include "cli/sim_run.h"

#include "assembler/source_symbols.h"
#include "cli/arguments.h"
#include "cli/result_files.h"
#include "cli/sim_command.h"
#include "simulator/instruction_trace.h"
#include "cli/sim_uart.h"
#include "cli/source_assembly.h"
#include "common/number_text.h"
#include "common/output_file.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"
#include "simulator/coverage.h"
#include "simulator/end_state_json.h"
#include "simulator/exit_port.h"
#include "simulator/interrupt_schedule.h"
#include "simulator/port_expectation.h"
#include "simulator/profiler.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"
#include "simulator/status_strings.h"
#include "simulator/vcd_writer.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <ostream>

namespace korvo::cli {

int CommandUsageError(std::ostream& err, const std::string& command, const std::string& message) {
    err << "korvo " << command << ": " << message << "; try 'korvo " << command << " --help'\n";
    return kExitUsage;
}

namespace {

void PrintFinalState(const TPicoBlazeSimulator& simulator, std::int32_t frequencyMHz,
                     const TExitPort* exitPort, const TSimulationIO& io, std::ostream& out) {
    TStatusStrings status = MakeStatusStrings(simulator, frequencyMHz);
    out << status.Instructions << "\n"
        << status.Time << "\n"
        << status.ProgramCounter << "\n"
        << status.StackPointer << "\n"
        << status.Stack << "\n";
    for (const auto& line : UartCountLines(io))
        out << line << "\n";
    // A core with banks shows each, "A: " and "B: " before its registers.
    const bool banked = simulator.RegisterBanks() > 1;
    for (int bank = 0; bank < simulator.RegisterBanks(); ++bank) {
        if (banked) out << static_cast<char>('A' + bank) << ": ";
        for (int n = 0; n < simulator.RegisterCount(); ++n)
            out << (n ? " " : "") << RegisterName(simulator, n) << "=$"
                << HexText(simulator.BankRegister(bank, n), 2);
        out << "\n";
    }
    out << "Z=" << simulator.ZeroFlag() << " C=" << simulator.CarryFlag()
        << " IE=" << simulator.InterruptEnable();
    if (banked) out << " Bank=" << static_cast<char>('A' + simulator.ActiveBank());
    out << "\n";
    if (exitPort) {
        auto value = exitPort->Value();
        out << " Exit: " << (value ? "$" + HexText(*value, 2) : std::string("none")) << " (port $"
            << HexText(exitPort->Port(), 2) << ")\n";
    }
}

// "SOURCE:LINE: error: ..." for the first difference of an expected output.
std::string MismatchMessage(const std::string& source, const TPortExpectation& expectation) {
    const auto& mismatch = *expectation.Mismatch();
    std::string port = "port $" + HexText(expectation.Port(), 2);
    std::string where = expectation.File() + ":" + std::to_string(mismatch.FileLine);
    std::string after = " after " + std::to_string(mismatch.InstructionCount) + " instructions";
    if (!mismatch.Got)
        return where + ": error: " + port + " expects $" + HexText(*mismatch.Expected, 2) +
               ", but the run ended" + after;
    std::string text = source + ":" + std::to_string(mismatch.SourceLine) + ": error: " + port +
                       " got $" + HexText(*mismatch.Got, 2) + ", ";
    text += mismatch.Expected ? where + " expects $" + HexText(*mismatch.Expected, 2)
                              : expectation.File() + " expects no more values";
    return text + after;
}

// The result files of a run, made before it starts, so that a bad path
// fails before a long run rather than after it; each replaces its file only
// when the run has written it whole.
struct TRunFiles {
    std::unique_ptr<TOutputFile> Json;
    std::unique_ptr<TOutputFile> Vcd;
    std::unique_ptr<TOutputFile> Coverage;
    std::unique_ptr<TOutputFile> Profile;
    std::unique_ptr<TOutputFile> ProfileFolded;
};

// A routine by the label at its entry; "reset" for an unnamed main program,
// the address for another routine without one.
TRoutineNamer RoutineNamer(const TPicoBlazeSimulator& simulator, const std::string& source) {
    std::map<int, std::string> labels;
    try {
        for (const auto& symbol :
             CollectSourceSymbols(simulator.CoreKind(), source, ReadTextLines(source)))
            if (symbol.Kind == skLabel) labels.emplace(symbol.Value, symbol.Name);
    } catch (const EFileError&) {
        // Read a moment ago for the run; gone since, the routines keep numbers.
    }
    const int digits = CoreDescription(simulator.CoreKind()).AddressDigits();
    return [labels = std::move(labels), digits](int entry) {
        auto found = labels.find(entry);
        if (found != labels.end()) return found->second;
        return entry == 0 ? std::string("reset") : "$" + HexText(entry, digits);
    };
}

std::unique_ptr<TOutputFile> OpenIfGiven(const std::optional<std::string>& path) {
    return path && *path != "-" ? std::make_unique<TOutputFile>(*path) : nullptr;
}

// The ports the command line names, against the port map: a port the
// source does not declare becomes a plain input (--in), output
// (--expect-out) or both of that number, so that a program without
// declarations (an imported one) can be tested as it is; a declared port
// must take what is asked of it. The error, or empty.
std::string PreparePorts(TPicoBlazeSimulator& simulator, const TSimOptions& options) {
    std::array<std::uint8_t, kPortCount> wanted{};
    for (const auto& input : options.Inputs)
        wanted[input.first] |= 1;
    for (const auto& expected : options.ExpectedOutputs)
        if (expected.Port != options.ExitPort) wanted[expected.Port] |= 2;
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = simulator.GetPortItem(port);
        if (!wanted[port] || item.Kind != TMemKind::None) continue;
        item.Kind = wanted[port] == 3   ? TMemKind::InOut
                    : wanted[port] == 1 ? TMemKind::Input
                                        : TMemKind::Output;
        simulator.SetPortItem(port, item);
    }
    for (const auto& input : options.Inputs) {
        auto kind = simulator.GetPortItem(input.first).Kind;
        if (kind != TMemKind::Input && kind != TMemKind::InOut && kind != TMemKind::IO)
            return "--in: port $" + HexText(input.first, 2) +
                   " is not an input or bidirectional port";
    }
    for (const auto& expected : options.ExpectedOutputs) {
        auto kind = simulator.GetPortItem(expected.Port).Kind;
        bool written = kind == TMemKind::RAM || kind == TMemKind::Output || kind == TMemKind::IO ||
                       kind == TMemKind::InOut || kind == TMemKind::UART ||
                       expected.Port == options.ExitPort;
        if (!written)
            return "--expect-out: port $" + HexText(expected.Port, 2) + " is not an output port";
    }
    if (options.UsesUart()) {
        bool anyUart = false;
        for (int port = 0; port < kPortCount; ++port) {
            TMemMapItem item = simulator.GetPortItem(port);
            anyUart = anyUart || (item.Kind == TMemKind::UART && item.TcpPort >= 0);
        }
        if (!anyUart)
            return std::string(options.UartStdio ? "--uart-stdio" : "--uart-tcp") +
                   ": the program declares no UART";
    }
    return {};
}

// A result file that would replace one of the run's inputs, or another
// result: the error, or empty.
std::string RefuseInputsAsOutputs(const TPicoBlazeSimulator& simulator, const TSimOptions& options,
                                  const std::vector<std::string>& assemblyInputs,
                                  const std::optional<std::string>& settingsFile) {
    std::vector<TInputFile> inputs = RunInputs(assemblyInputs, settingsFile);
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = simulator.GetPortItem(port);
        if ((item.Kind == TMemKind::Input || item.Kind == TMemKind::InOut) && !item.InFile.empty())
            inputs.push_back({item.InFile, "a stimulus file"});
        if (!item.OutFile.empty()) inputs.push_back({item.OutFile, "a port's log file"});
    }
    for (const auto& expected : options.ExpectedOutputs)
        inputs.push_back({expected.File, "an --expect-out file"});
    return RefuseInputsAsResults(options.OutputFiles(), inputs);
}

} // namespace

TPreparedSim::TPreparedSim() = default;
TPreparedSim::~TPreparedSim() = default;
TPreparedSim::TPreparedSim(TPreparedSim&&) noexcept = default;
TPreparedSim& TPreparedSim::operator=(TPreparedSim&&) noexcept = default;

std::optional<TPreparedSim> PrepareSim(const std::string& command,
                                       const std::vector<std::string>& args, std::ostream& out,
                                       std::ostream& err, int& exitStatus) {
    auto usage = [&](const std::string& message) {
        exitStatus = CommandUsageError(err, command, message);
        return std::nullopt;
    };
    std::string error;
    auto arguments = ParseArguments(args, SimOptions(), error);
    if (!arguments) return usage(error);
    if (arguments->Positional.size() != 1)
        return usage(arguments->Positional.empty() ? "no source file given"
                                                   : "only one source file is allowed");
    TPreparedSim prepared;
    prepared.Command = command;
    prepared.Source = arguments->Positional.front();
    auto options = ReadSimOptions(*arguments, error);
    if (!options) return usage(error);

    if (!CheckSettingsFile(*arguments, error)) return usage(error);
    prepared.SettingsFile = arguments->Last("--settings");
    prepared.Settings = OpenSettingsStore(prepared.SettingsFile);
    auto core = ResolveCore(*arguments, *prepared.Settings, error);
    if (!core) return usage(error);
    auto coreOptions = ResolveCoreOptions(*arguments, *prepared.Settings, *core, error);
    if (!coreOptions) return usage(error);
    if (CoreDescription(*core).HasBuildOptions && options->ScratchPadSize) {
        // The scratch pad is part of the build.
        if (!IsBuildScratchPadSize(*options->ScratchPadSize))
            return usage("--scratchpad takes " +
                         ScratchPadSizesText(kBuildScratchPadSizes, ", ", " or ") +
                         " for the core " + std::string(CoreDescription(*core).CommandName));
        coreOptions->ScratchPadSize = *options->ScratchPadSize;
        options->ScratchPadSize.reset();
    }

    prepared.Simulator = CreateSimulator(*core);
    prepared.Simulator->SetCoreOptions(*coreOptions);
    // With a result or the UART on standard output, the assembler's lines go
    // to standard error too.
    prepared.Failures = std::make_unique<TFailureReport>(err, prepared.Source);
    TStreamLog log(options->TakesStandardOutput() ? err : out, prepared.Failures.get());
    auto assembly = AssembleSourceFile(command, prepared.Source, *prepared.Simulator, log,
                                       *prepared.Settings, err, !arguments->Has("--no-exec"));
    switch (assembly.Outcome) {
    case TAssemblyOutcome::Unreadable: exitStatus = kExitUsage; return std::nullopt;
    case TAssemblyOutcome::Failed: exitStatus = kExitFailure; return std::nullopt;
    case TAssemblyOutcome::Assembled: break;
    }
    prepared.Options = std::move(*options);
    prepared.AssemblyInputs = std::move(assembly.InputFiles);
    return prepared;
}

struct TSimRun::TState {
    TState(std::ostream& textStream, TFailureReport& failures)
        : Text(textStream), Log(textStream, &failures) {}
    std::ostream& Text;
    TRunFiles Files;
    TStreamLog Log;
    std::unique_ptr<TSimulationSession> Session;
    TExitPort* ExitPort = nullptr;
    std::vector<TPortExpectation*> Expectations;
    std::unique_ptr<TCoverage> Coverage;
    const TProfiler* Profiler = nullptr;
    TVcdWriter* Vcd = nullptr;
    TNoSleepRunClock NoSleep;
    std::unique_ptr<TSimUartHost> Uarts;
};

TSimRun::TSimRun(TPreparedSim& prepared, std::ostream& out, std::ostream& err)
    : prepared_(prepared), out_(out), err_(err) {}

TSimRun::~TSimRun() {
    if (state_) prepared_.Simulator->OnYield = nullptr;
}

TSimulationSession& TSimRun::Session() {
    return *state_->Session;
}

std::optional<int> TSimRun::Begin(const std::function<bool()>& stopWaiting) {
    TPicoBlazeSimulator& simulator = *prepared_.Simulator;
    const TSimOptions& options = prepared_.Options;
    std::ostream& out = out_;
    std::ostream& err = err_;
    // With a result or the UART on standard output, the text goes to
    // standard error.
    std::ostream& text = options.TakesStandardOutput() ? err : out;
    // Everything is checked before a file is touched: a bad command line
    // leaves the results of the last run as they were.
    if (auto error = PreparePorts(simulator, options); !error.empty())
        return CommandUsageError(err, prepared_.Command, error);
    if (auto error = RefuseInputsAsOutputs(simulator, options, prepared_.AssemblyInputs,
                                           prepared_.SettingsFile);
        !error.empty())
        return CommandUsageError(err, prepared_.Command, error);
    TRunFiles files;
    try {
        files = {OpenIfGiven(options.JsonFile), OpenIfGiven(options.VcdFile),
                 OpenIfGiven(options.CoverageFile), OpenIfGiven(options.ProfileFile),
                 OpenIfGiven(options.ProfileFoldedFile)};
    } catch (const EFileError& failure) {
        err << "korvo " << prepared_.Command << ": " << failure.what() << "\n";
        return kExitOutputFailed;
    }

    state_ = std::make_unique<TState>(text, *prepared_.Failures);
    TState& state = *state_;
    state.Files = std::move(files);
    state.Session =
        std::make_unique<TSimulationSession>(simulator, state.Log, prepared_.Settings.get());
    TSimulationSession& session = *state.Session;
    session.SetScratchPadSizeOverride(options.ScratchPadSize);
    session.SetFrequencyOverride(options.FrequencyMHz);
    session.SetUartBaudOverride(options.UartBaud);
    session.IO().OnMessage = [this, &err](const std::string& message) {
        err << "korvo " << prepared_.Command << ": " << message << "\n";
    };
    TFailureReport& failures = *prepared_.Failures;
    session.IO().OnStimulusFault = [&failures](const TStimulusFault& fault) {
        failures.ReportAt(fault.File + ":" + std::to_string(fault.Line), fault.Text);
    };
    // The report shows the state at a refused access, not after a reset.
    simulator.SetResetOnRefusedAccess(false);
    // The --in values are the switches of the input frames: set before the
    // reset, so that a stimulus file still gives the first value.
    session.OnStateEntered = [&session, &options](TSimulatorState entered) {
        if (entered != ssLoaded) return;
        for (const auto& [port, value] : options.Inputs) {
            if (auto* input = session.IO().InputPort(port))
                input->SetValue(value);
            else if (auto* bidirectional = session.IO().BidirectionalPort(port))
                bidirectional->SetInitialValue(value);
        }
    };

    // The observers, in the order they see each access.
    if (options.ExitPort)
        state.ExitPort =
            &session.AddObserver(std::make_unique<TExitPort>(simulator, *options.ExitPort));
    for (const auto& expected : options.ExpectedOutputs)
        state.Expectations.push_back(&session.AddObserver(std::make_unique<TPortExpectation>(
            simulator, expected.Port, expected.File, expected.Values)));
    session.AddObserver(std::make_unique<TInterruptSchedule>(simulator, options.InterruptsAt,
                                                             options.InterruptEvery));
    if (options.Trace) session.AddObserver(std::make_unique<TInstructionTrace>(simulator, text));
    if (options.CoverageFile) state.Coverage = std::make_unique<TCoverage>(simulator);
    if (options.ProfileFile || options.ProfileFoldedFile)
        state.Profiler = &session.AddObserver(std::make_unique<TProfiler>(simulator));

    // Real time needs real sleeps; a run at full speed has nothing to yield to.
    if (!options.RealTime) simulator.SetRunClock(state.NoSleep);
    simulator.SetInstructionLimit(options.MaxInstructions);
    simulator.Start();
    if (options.RealTime)
        simulator.SetRunPace(MakeRunPace(TRunSpeed::RealTime, session.FrequencyMHz(), 0));
    state.Uarts = std::make_unique<TSimUartHost>(
        session.IO(), TSimUartHost::TOptions{options.UartStdio, options.UartTcp}, state.Log, out);
    if (options.UsesUart()) {
        if (!state.Uarts->Open() && options.UartWait) {
            err << "korvo " << prepared_.Command << ": --uart-wait: no UART port could be served\n";
            return kExitOutputFailed;
        }
        if (options.UartWait) {
            state.Log.Progress("Waiting for a client");
            text.flush();
            state.Uarts->WaitForClient(stopWaiting);
        }
    }
    if (options.VcdFile) {
        state.Vcd = &session.AddObserver(std::make_unique<TVcdWriter>(
            simulator, state.Files.Vcd ? state.Files.Vcd->Stream() : out, session.FrequencyMHz(),
            options.VcdLimit));
        state.Vcd->Begin();
    }
    return std::nullopt;
}

void TSimRun::PumpUarts() {
    state_->Uarts->Pump(prepared_.Simulator->InstructionCount());
    state_->Text.flush(); // the log of a long run shows as it goes
}

bool TSimRun::UartInputDone(std::int64_t quietInstructions) const {
    return state_->Uarts->InputDone(prepared_.Simulator->InstructionCount(), quietInstructions);
}

int TSimRun::End(int stopSignal) {
    TPicoBlazeSimulator& simulator = *prepared_.Simulator;
    const TSimOptions& options = prepared_.Options;
    const std::string& source = prepared_.Source;
    TFailureReport& failures = *prepared_.Failures;
    TState& state = *state_;
    TSimulationSession& session = *state.Session;
    std::ostream& out = out_;
    std::ostream& err = err_;
    std::ostream& text = state.Text;
    state.Uarts->Pump(simulator.InstructionCount());
    simulator.OnYield = nullptr;
    if (state.Vcd) state.Vcd->Finish();
    for (auto* expectation : state.Expectations)
        expectation->Finish();
    session.FinishRun();

    PrintFinalState(simulator, session.FrequencyMHz(), state.ExitPort, session.IO(), text);
    bool unexpected = false;
    for (const auto* expectation : state.Expectations) {
        if (!expectation->Mismatch()) continue;
        unexpected = true;
        err << "korvo " << prepared_.Command << ": " << MismatchMessage(source, *expectation)
            << "\n";
    }
    text.flush();

    TRunOutcome outcome{ExpandFileName(source),
                        session.FrequencyMHz(),
                        state.ExitPort,
                        {state.Expectations.begin(), state.Expectations.end()}};
    // A result that cannot be written is an output failure like any other.
    auto write = [&](TOutputFile* file, const std::function<void(std::ostream&)>& content) {
        try {
            content(file ? file->Stream() : out);
            if (file) file->Close();
        } catch (const EFileError& failure) {
            failures.Report(failure.what());
        }
    };
    TRunFiles& files = state.Files;
    if (options.JsonFile)
        write(files.Json.get(),
              [&](std::ostream& stream) { session.WriteEndState(stream, outcome); });
    if (state.Coverage)
        write(files.Coverage.get(), [&](std::ostream& stream) {
            WriteLcovTrace(stream, outcome.Source, state.Coverage->Lines());
        });
    if (state.Profiler) {
        const TRoutineNamer name = RoutineNamer(simulator, source);
        if (options.ProfileFile)
            write(files.Profile.get(),
                  [&](std::ostream& stream) { WriteProfileTable(stream, *state.Profiler, name); });
        if (options.ProfileFoldedFile)
            write(files.ProfileFolded.get(),
                  [&](std::ostream& stream) { WriteFoldedStacks(stream, *state.Profiler, name); });
    }
    if (files.Vcd) write(files.Vcd.get(), [](std::ostream&) {});
    out.flush();

    if (simulator.State() == ssHalted) return kExitHalted;
    if (options.UsesUart() && stopSignal) return 128 + stopSignal;
    if (unexpected) return kExitUnexpectedOutput;
    if (state.ExitPort && state.ExitPort->Value().value_or(1) != 0) return kExitProgramFailed;
    return failures.Any() ? kExitOutputFailed : kExitSuccess;
}

} // namespace korvo::cli
