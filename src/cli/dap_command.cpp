#include "cli/dap_command.h"

#include "cli/arguments.h"
#include "cli/option_table.h"
#include "cli/sim_options.h"
#include "cli/sim_run.h"
#include "dap/adapter_loop.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"

#include <QJsonArray>

#include <iostream>
#include <sstream>

namespace korvo::cli {

namespace {

// A launched program: korvo sim's run of it, its texts kept for the client.
class TDapTarget final : public servers::IDebugTarget {
public:
    TPicoBlazeSimulator& Simulator() override { return *Prepared.Simulator; }
    TSimulationSession& Session() override { return Run->Session(); }
    const std::string& Source() const override { return Prepared.Source; }
    void Pump() override {
        if (Prepared.Options.UsesUart()) Run->PumpUarts();
    }
    // The client shows the starts and pauses from the protocol's events; the
    // log's lines of them would come again at each breakpoint whose
    // condition does not hold.
    std::string TakeText() override {
        std::string text;
        std::istringstream lines(Take(Text));
        for (std::string line; std::getline(lines, line);)
            if (line != "!Program is Started" && line != "!Program is Paused") text += line + "\n";
        return text;
    }
    std::string TakeErrors() override { return Take(Errors); }
    std::string TakeUartOutput() override {
        std::string bytes;
        if (!Prepared.Options.UsesUart())
            for (auto* uart : Session().IO().UARTs())
                bytes += uart->TakeOutput();
        return bytes;
    }
    int Finish() override {
        if (!status) status = Run->End();
        return *status;
    }

    std::ostringstream Text;
    std::ostringstream Errors;
    TPreparedSim Prepared;
    std::unique_ptr<TSimRun> Run;

private:
    static std::string Take(std::ostringstream& stream) {
        std::string text = stream.str();
        stream.str({});
        return text;
    }
    std::optional<int> status;
};

// A launch property's value as the words of a command line.
std::vector<std::string> ValueWords(const QJsonValue& value) {
    if (value.isArray()) {
        std::vector<std::string> words;
        for (const auto& item : value.toArray())
            for (auto& word : ValueWords(item))
                words.push_back(std::move(word));
        return words;
    }
    if (value.isDouble()) return {QString::number(value.toInteger()).toStdString()};
    if (value.isBool()) return {value.toBool() ? "true" : "false"};
    return {value.toString().toStdString()};
}

// korvo sim's command line of a launch request: its properties that name
// an option of korvo sim, then the program. The client's own properties
// (name, type, request, stopOnEntry, ...) name none.
std::vector<std::string> SimArguments(const QJsonObject& launch) {
    std::vector<std::string> args;
    for (auto it = launch.begin(); it != launch.end(); ++it) {
        const std::string option = "--" + it.key().toStdString();
        const TOptionRow* row = FindOption(SimOptions(), option);
        if (!row) continue;
        if (row->Value.empty()) {
            if (it.value().toBool()) args.push_back(option);
            continue;
        }
        for (auto& word : ValueWords(it.value())) {
            args.push_back(option);
            args.push_back(std::move(word));
        }
    }
    args.push_back("--");
    args.push_back(launch.value("program").toString().toStdString());
    return args;
}

servers::TLaunch Launch(const QJsonObject& arguments) {
    auto target = std::make_unique<TDapTarget>();
    auto failed = [&target](int status) {
        return servers::TLaunch{nullptr, status, target->Text.str(), target->Errors.str()};
    };
    if (arguments.value("program").toString().isEmpty()) {
        target->Errors << "korvo dap: launch needs \"program\", the source file\n";
        return failed(kExitUsage);
    }
    // Standard input and output carry the protocol.
    if (arguments.value("uart-stdio").toBool()) {
        target->Errors << "korvo dap: uart-stdio: standard input and output carry the debug "
                          "protocol; uart-tcp serves the UARTs\n";
        return failed(kExitUsage);
    }
    int status = kExitSuccess;
    auto prepared =
        PrepareSim("dap", SimArguments(arguments), target->Text, target->Errors, status);
    if (!prepared) return failed(status);
    target->Prepared = std::move(*prepared);
    target->Run = std::make_unique<TSimRun>(target->Prepared, target->Text, target->Errors);
    if (auto refused = target->Run->Begin([] { return false; })) return failed(*refused);
    return {std::move(target), kExitSuccess, {}, {}};
}

} // namespace

std::string DapSynopsis() {
    return "dap";
}

std::string DapHelp() {
    return "Serves the Debug Adapter Protocol on standard input and output until the\n"
           "client disconnects or its input ends. A launch request names the source in\n"
           "\"program\" and may give \"stopOnEntry\", \"noDebug\" (runs to the end) and\n"
           "the options of korvo sim by their long names without the dashes (\"core\",\n"
           "\"settings\", \"max-instructions\", \"interrupt-at\", \"uart-tcp\", ...), each a\n"
           "string (true for a switch) or an array of strings for a repeatable option;\n"
           "the program is assembled and run as korvo sim runs it, and the run's end\n"
           "gives the exit status korvo sim would. Breakpoints take conditions on\n"
           "registers and names (\"s0 == 5\", \"count > 10\") and hit counts (N or >=N\n"
           "from the Nth time on, >N, ==N, <N, <=N, %N every Nth time). Step back and\n"
           "reverse continue go back over the last 1,000,000 instructions at least.\n"
           "Evaluate takes names, registers and expressions of the dialect; readMemory\n"
           "reads the scratch pad (\"scratchpad\" or an offset). The log and the report\n"
           "come as console output, the bytes the UARTs send as the program's output.\n"
           "\n"
           "exit status:\n"
           "  0  the client disconnected or its input ended\n"
           "  2  a bad command line\n";
}

int RunDapCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return CommandUsageError(err, "dap", "takes no arguments");
    return servers::RunDebugAdapter(std::cin, out, err, Launch);
}

} // namespace korvo::cli
