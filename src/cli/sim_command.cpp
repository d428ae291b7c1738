#include "cli/sim_command.h"

#include "assembler/source_symbols.h"
#include "cli/arguments.h"
#include "cli/result_files.h"
#include "cli/sim_options.h"
#include "cli/sim_uart.h"
#include "cli/source_assembly.h"
#include "cli/stream_log.h"
#include "common/number_text.h"
#include "common/output_file.h"
#include "common/text_file.h"
#include "settings/qt_settings_store.h"
#include "simulator/coverage.h"
#include "simulator/end_state_json.h"
#include "simulator/exit_port.h"
#include "simulator/instruction_trace.h"
#include "simulator/interrupt_schedule.h"
#include "simulator/port_expectation.h"
#include "simulator/profiler.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"
#include "simulator/status_strings.h"
#include "simulator/vcd_writer.h"

#include <array>
#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <ostream>

namespace korvo::cli {

namespace {

int UsageError(std::ostream& err, const std::string& message) {
    err << "korvo sim: " << message << "; try 'korvo sim --help'\n";
    return kExitUsage;
}

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

// What a run reads besides its options.
struct TRunInputs {
    std::string Source;
    std::vector<std::string> AssemblyInputs; // the source first
    std::optional<std::string> SettingsFile;
};

// Runs the assembled program; the exit status.
int Simulate(TPicoBlazeSimulator& simulator, const TSimOptions& options,
             const ISettingsStore& settings, const TRunInputs& inputs, TFailureReport& failures,
             std::ostream& out, std::ostream& err) {
    const std::string& source = inputs.Source;
    // With a result or the UART on standard output, the text goes to
    // standard error.
    std::ostream& text = options.TakesStandardOutput() ? err : out;
    // Everything is checked before a file is touched: a bad command line
    // leaves the results of the last run as they were.
    if (auto error = PreparePorts(simulator, options); !error.empty())
        return UsageError(err, error);
    if (auto error =
            RefuseInputsAsOutputs(simulator, options, inputs.AssemblyInputs, inputs.SettingsFile);
        !error.empty())
        return UsageError(err, error);
    TRunFiles files;
    try {
        files = {OpenIfGiven(options.JsonFile), OpenIfGiven(options.VcdFile),
                 OpenIfGiven(options.CoverageFile), OpenIfGiven(options.ProfileFile),
                 OpenIfGiven(options.ProfileFoldedFile)};
    } catch (const EFileError& failure) {
        err << "korvo sim: " << failure.what() << "\n";
        return kExitOutputFailed;
    }

    TStreamLog log(text, &failures);
    TSimulationSession session(simulator, log, &settings);
    session.SetScratchPadSizeOverride(options.ScratchPadSize);
    session.SetFrequencyOverride(options.FrequencyMHz);
    session.SetUartBaudOverride(options.UartBaud);
    session.IO().OnMessage = [&err](const std::string& message) {
        err << "korvo sim: " << message << "\n";
    };
    session.IO().OnStimulusFault = [&failures](const TStimulusFault& fault) {
        failures.ReportAt(fault.File + ":" + std::to_string(fault.Line), fault.Text);
    };
    // The report shows the state at a refused access, not after a reset.
    simulator.SetResetOnRefusedAccess(false);
    // The --in values are the switches of the input frames: set before the
    // reset, so that a stimulus file still gives the first value.
    session.OnStateEntered = [&](TSimulatorState state) {
        if (state != ssLoaded) return;
        for (const auto& [port, value] : options.Inputs) {
            if (auto* input = session.IO().InputPort(port))
                input->SetValue(value);
            else if (auto* bidirectional = session.IO().BidirectionalPort(port))
                bidirectional->SetInitialValue(value);
        }
    };

    // The observers, in the order they see each access.
    TExitPort* exitPort =
        options.ExitPort
            ? &session.AddObserver(std::make_unique<TExitPort>(simulator, *options.ExitPort))
            : nullptr;
    std::vector<TPortExpectation*> expectations;
    for (const auto& expected : options.ExpectedOutputs)
        expectations.push_back(&session.AddObserver(std::make_unique<TPortExpectation>(
            simulator, expected.Port, expected.File, expected.Values)));
    session.AddObserver(std::make_unique<TInterruptSchedule>(simulator, options.InterruptsAt,
                                                             options.InterruptEvery));
    if (options.Trace) session.AddObserver(std::make_unique<TInstructionTrace>(simulator, text));
    std::unique_ptr<TCoverage> coverage;
    if (options.CoverageFile) coverage = std::make_unique<TCoverage>(simulator);
    const TProfiler* profiler = options.ProfileFile || options.ProfileFoldedFile
                                    ? &session.AddObserver(std::make_unique<TProfiler>(simulator))
                                    : nullptr;

    // Real time needs real sleeps; a run at full speed has nothing to yield to.
    TNoSleepRunClock noSleep;
    if (!options.RealTime) simulator.SetRunClock(noSleep);
    simulator.SetInstructionLimit(options.MaxInstructions);
    simulator.Start();
    if (options.RealTime)
        simulator.SetRunPace(MakeRunPace(TRunSpeed::RealTime, session.FrequencyMHz(), 0));
    TStopSignals stopSignals(options.UsesUart());
    TSimUartHost uarts(session.IO(), {options.UartStdio, options.UartTcp}, log, out);
    if (options.UsesUart()) {
        if (!uarts.Open() && options.UartWait) {
            err << "korvo sim: --uart-wait: no UART port could be served\n";
            return kExitOutputFailed;
        }
        // One simulated second without traffic after the input ended.
        std::int64_t quiet = static_cast<std::int64_t>(session.FrequencyMHz()) * 500'000;
        simulator.OnYield = [&, quiet](TSimulator&) {
            uarts.Pump(simulator.InstructionCount());
            text.flush(); // the log of a long run shows as it goes
            if (gStopSignal || uarts.InputDone(simulator.InstructionCount(), quiet))
                simulator.Pause();
        };
        if (options.UartWait) {
            log.Progress("Waiting for a client");
            text.flush();
            uarts.WaitForClient([] { return gStopSignal != 0; });
        }
    }
    TVcdWriter* vcd = nullptr;
    if (options.VcdFile) {
        vcd = &session.AddObserver(
            std::make_unique<TVcdWriter>(simulator, files.Vcd ? files.Vcd->Stream() : out,
                                         session.FrequencyMHz(), options.VcdLimit));
        vcd->Begin();
    }
    if (options.MaxInstructions != 0 && !gStopSignal)
        session.Run();
    else
        session.IO().SynchronizeUARTs();
    uarts.Pump(simulator.InstructionCount());
    simulator.OnYield = nullptr;
    if (vcd) vcd->Finish();
    for (auto* expectation : expectations)
        expectation->Finish();
    session.FinishRun();

    PrintFinalState(simulator, session.FrequencyMHz(), exitPort, session.IO(), text);
    bool unexpected = false;
    for (const auto* expectation : expectations) {
        if (!expectation->Mismatch()) continue;
        unexpected = true;
        err << "korvo sim: " << MismatchMessage(source, *expectation) << "\n";
    }
    text.flush();

    TRunOutcome outcome{ExpandFileName(source),
                        session.FrequencyMHz(),
                        exitPort,
                        {expectations.begin(), expectations.end()}};
    // A result that cannot be written is an output failure like any other.
    auto write = [&](TOutputFile* file, const std::function<void(std::ostream&)>& content) {
        try {
            content(file ? file->Stream() : out);
            if (file) file->Close();
        } catch (const EFileError& failure) {
            failures.Report(failure.what());
        }
    };
    if (options.JsonFile)
        write(files.Json.get(),
              [&](std::ostream& stream) { session.WriteEndState(stream, outcome); });
    if (coverage)
        write(files.Coverage.get(), [&](std::ostream& stream) {
            WriteLcovTrace(stream, outcome.Source, coverage->Lines());
        });
    if (profiler) {
        const TRoutineNamer name = RoutineNamer(simulator, source);
        if (options.ProfileFile)
            write(files.Profile.get(),
                  [&](std::ostream& stream) { WriteProfileTable(stream, *profiler, name); });
        if (options.ProfileFoldedFile)
            write(files.ProfileFolded.get(),
                  [&](std::ostream& stream) { WriteFoldedStacks(stream, *profiler, name); });
    }
    if (files.Vcd) write(files.Vcd.get(), [](std::ostream&) {});
    out.flush();

    if (simulator.State() == ssHalted) return kExitHalted;
    if (options.UsesUart() && gStopSignal) return 128 + gStopSignal;
    if (unexpected) return kExitUnexpectedOutput;
    if (exitPort && exitPort->Value().value_or(1) != 0) return kExitProgramFailed;
    return failures.Any() ? kExitOutputFailed : kExitSuccess;
}

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
    std::string error;
    auto arguments = ParseArguments(args, SimOptions(), error);
    if (!arguments) return UsageError(err, error);
    if (arguments->Positional.size() != 1)
        return UsageError(err, arguments->Positional.empty() ? "no source file given"
                                                             : "only one source file is allowed");
    const std::string& source = arguments->Positional.front();
    auto options = ReadSimOptions(*arguments, error);
    if (!options) return UsageError(err, error);

    if (!CheckSettingsFile(*arguments, error)) return UsageError(err, error);
    auto settings = OpenSettingsStore(arguments->Last("--settings"));
    auto core = ResolveCore(*arguments, *settings, error);
    if (!core) return UsageError(err, error);
    auto coreOptions = ResolveCoreOptions(*arguments, *settings, *core, error);
    if (!coreOptions) return UsageError(err, error);
    if (CoreDescription(*core).HasBuildOptions && options->ScratchPadSize) {
        // The scratch pad is part of the build.
        if (!IsBuildScratchPadSize(*options->ScratchPadSize))
            return UsageError(err, "--scratchpad takes " +
                                       ScratchPadSizesText(kBuildScratchPadSizes, ", ", " or ") +
                                       " for the core " +
                                       std::string(CoreDescription(*core).CommandName));
        coreOptions->ScratchPadSize = *options->ScratchPadSize;
        options->ScratchPadSize.reset();
    }

    auto simulator = CreateSimulator(*core);
    simulator->SetCoreOptions(*coreOptions);
    // With a result or the UART on standard output, the assembler's lines go
    // to standard error too.
    TFailureReport failures(err, source);
    TStreamLog log(options->TakesStandardOutput() ? err : out, &failures);
    auto assembly = AssembleSourceFile("sim", source, *simulator, log, *settings, err,
                                       !arguments->Has("--no-exec"));
    switch (assembly.Outcome) {
    case TAssemblyOutcome::Unreadable: return kExitUsage;
    case TAssemblyOutcome::Failed: return kExitFailure;
    case TAssemblyOutcome::Assembled: break;
    }

    int status =
        Simulate(*simulator, *options, *settings,
                 {source, assembly.InputFiles, arguments->Last("--settings")}, failures, out, err);
    out.flush();
    err.flush();
    return status;
}

} // namespace korvo::cli
