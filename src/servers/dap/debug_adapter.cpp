#include "dap/debug_adapter.h"

#include "assembler/source_symbols.h"
#include "common/text_file.h"
#include "dap/program_view.h"
#include "simulator/decode.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulation_session.h"

#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <utility>

namespace korvo::servers {

namespace {

// The code address a client names: "0x1F", "$1F" or a decimal number; -1
// when it is none.
std::int64_t AddressNamed(const QString& reference) {
    bool ok = false;
    std::int64_t address = -1;
    if (reference.startsWith("0x", Qt::CaseInsensitive))
        address = reference.mid(2).toLongLong(&ok, 16);
    else if (reference.startsWith('$'))
        address = reference.mid(1).toLongLong(&ok, 16);
    else
        address = reference.toLongLong(&ok, 10);
    return ok ? address : -1;
}

// A number of a request bounded so that sums of a few stay far from
// overflow: code and scratch pad addresses are far smaller.
std::int64_t Bounded(std::int64_t value) {
    return std::clamp<std::int64_t>(value, -(1 << 24), 1 << 24);
}

bool IsCall(TCoreKind kind, std::uint32_t word) {
    switch (DecodeWord(CoreDecoding(kind), word).Op) {
    case TOp::Call:
    case TOp::CallZ:
    case TOp::CallNZ:
    case TOp::CallC:
    case TOp::CallNC:
    case TOp::CallRegisters: return true;
    default: return false;
    }
}

// The line of a failed launch's messages that says why: the first error,
// else the first line.
QString Reason(const std::string& text) {
    const QStringList lines = QString::fromStdString(text).split('\n', Qt::SkipEmptyParts);
    for (const auto& line : lines)
        if (line.startsWith("korvo ") || line.contains(": error: ")) return line;
    return lines.value(0, "the program could not be launched");
}

} // namespace

TDebugAdapter::TDebugAdapter(TDebugLauncher launcher, TSend send)
    : launcher_(std::move(launcher)), send_(std::move(send)) {}

TDebugAdapter::~TDebugAdapter() = default;

const std::map<QString, TDebugAdapter::THandler>& TDebugAdapter::Handlers() {
    static const std::map<QString, THandler> handlers{
        {"initialize", &TDebugAdapter::Initialize},
        {"launch", &TDebugAdapter::Launch},
        {"configurationDone", &TDebugAdapter::ConfigurationDone},
        {"setBreakpoints", &TDebugAdapter::SetBreakpoints},
        {"setExceptionBreakpoints", &TDebugAdapter::SetExceptionBreakpoints},
        {"threads", &TDebugAdapter::Threads},
        {"stackTrace", &TDebugAdapter::StackTrace},
        {"scopes", &TDebugAdapter::Scopes},
        {"variables", &TDebugAdapter::Variables},
        {"setVariable", &TDebugAdapter::SetVariable},
        {"evaluate", &TDebugAdapter::Evaluate},
        {"disassemble", &TDebugAdapter::Disassemble},
        {"readMemory", &TDebugAdapter::ReadMemory},
        {"continue", &TDebugAdapter::Continue},
        {"pause", &TDebugAdapter::Pause},
        {"next", &TDebugAdapter::Next},
        {"stepIn", &TDebugAdapter::StepIn},
        {"stepOut", &TDebugAdapter::StepOut},
        {"stepBack", &TDebugAdapter::StepBack},
        {"reverseContinue", &TDebugAdapter::ReverseContinue},
        {"terminate", &TDebugAdapter::Terminate},
        {"disconnect", &TDebugAdapter::Disconnect},
    };
    return handlers;
}

void TDebugAdapter::Handle(const QJsonObject& message) {
    if (message.value("type").toString() != "request") return;
    const QString command = message.value("command").toString();
    auto found = Handlers().find(command);
    if (found == Handlers().end()) return Refuse(message, "unknown request '" + command + "'");
    try {
        (this->*found->second)(message, message.value("arguments").toObject());
    } catch (const std::exception& fault) {
        Refuse(message, QString("internal error: ") + fault.what());
    }
}

// --- Messages ---

void TDebugAdapter::ReportUnreadable(const std::string& error) {
    Output("stderr", QString::fromStdString("korvo dap: unreadable message: " + error + "\n"));
}

void TDebugAdapter::Respond(const QJsonObject& request, const QJsonObject& body) {
    send_({{"seq", ++sequence_},
           {"type", "response"},
           {"request_seq", request.value("seq").toInt()},
           {"success", true},
           {"command", request.value("command").toString()},
           {"body", body}});
}

void TDebugAdapter::Refuse(const QJsonObject& request, const QString& message) {
    send_({{"seq", ++sequence_},
           {"type", "response"},
           {"request_seq", request.value("seq").toInt()},
           {"success", false},
           {"command", request.value("command").toString()},
           {"message", message},
           {"body", QJsonObject{{"error", QJsonObject{{"id", 1}, {"format", message}}}}}});
}

void TDebugAdapter::Event(const QString& event, const QJsonObject& body) {
    QJsonObject message{{"seq", ++sequence_}, {"type", "event"}, {"event", event}};
    if (!body.isEmpty()) message["body"] = body;
    send_(message);
}

void TDebugAdapter::Output(const QString& category, const QString& text) {
    if (!text.isEmpty()) Event("output", {{"category", category}, {"output", text}});
}

void TDebugAdapter::FlushOutput() {
    if (!target_) return;
    Output("console", QString::fromStdString(target_->TakeText()));
    Output("stderr", QString::fromStdString(target_->TakeErrors()));
    Output("stdout", QString::fromLatin1(target_->TakeUartOutput()));
}

bool TDebugAdapter::Running(const QJsonObject& request) {
    if (!target_) {
        Refuse(request, "no program is launched");
        return false;
    }
    if (ended_) {
        Refuse(request, "the run has ended");
        return false;
    }
    return true;
}

bool TDebugAdapter::Paused(const QJsonObject& request) {
    if (!Running(request)) return false;
    if (Busy() || !started_) {
        Refuse(request, Busy() ? "the program is running" : "the run has not started");
        return false;
    }
    return true;
}

// --- Session ---

void TDebugAdapter::Initialize(const QJsonObject& request, const QJsonObject& arguments) {
    lineBase_ = arguments.value("linesStartAt1").toBool(true) ? 1 : 0;
    Respond(request, {{"supportsConfigurationDoneRequest", true},
                      {"supportsConditionalBreakpoints", true},
                      {"supportsHitConditionalBreakpoints", true},
                      {"supportsEvaluateForHovers", true},
                      {"supportsSetVariable", true},
                      {"supportsDisassembleRequest", true},
                      {"supportsReadMemoryRequest", true},
                      {"supportsTerminateRequest", true},
                      {"supportsStepBack", true}});
}

void TDebugAdapter::Launch(const QJsonObject& request, const QJsonObject& arguments) {
    if (target_) return Refuse(request, "a program is launched already");
    TLaunch launch = launcher_(arguments);
    Output("console", QString::fromStdString(launch.Text));
    Output("stderr", QString::fromStdString(launch.Errors));
    if (!launch.Target) return Refuse(request, Reason(launch.Errors));
    target_ = std::move(launch.Target);
    const TCoreKind core = target_->Simulator().CoreKind();
    std::vector<TSourceSymbol> symbols;
    try {
        symbols = CollectSourceSymbols(core, target_->Source(), ReadTextLines(target_->Source()));
    } catch (const EFileError&) {
        // Read a moment ago by the assembler; gone since, it has no names.
    }
    names_ = std::make_unique<TDebugNames>(core, std::move(symbols));
    stopOnEntry_ = arguments.value("stopOnEntry").toBool();
    noDebug_ = arguments.value("noDebug").toBool();
    target_->Session().SetRecording(!noDebug_);
    for (const auto& [path, breakpoints] : pendingBreakpoints_)
        ApplyBreakpoints(path, breakpoints);
    pendingBreakpoints_.clear();
    Respond(request);
    Event("initialized");
    StartWhenReady();
}

void TDebugAdapter::ConfigurationDone(const QJsonObject& request, const QJsonObject&) {
    configured_ = true;
    Respond(request);
    StartWhenReady();
}

void TDebugAdapter::StartWhenReady() {
    if (!target_ || !configured_ || started_ || ended_) return;
    started_ = true;
    runTarget_ = -1;
    if (noDebug_) {
        target_->Simulator().ClearBreakpoints();
        mode_ = TMode::Running;
    } else if (stopOnEntry_) {
        Stopped("entry");
    } else {
        mode_ = TMode::Running;
    }
}

void TDebugAdapter::Terminate(const QJsonObject& request, const QJsonObject&) {
    Respond(request);
    if (target_ && !ended_) EndRun();
}

void TDebugAdapter::Disconnect(const QJsonObject& request, const QJsonObject&) {
    Shutdown();
    Respond(request);
    done_ = true;
}

void TDebugAdapter::Shutdown() {
    if (!target_ || ended_) return;
    mode_ = TMode::Idle;
    ended_ = true;
    target_->Finish();
}

// --- Breakpoints ---

bool TDebugAdapter::IsProgramSource(const QString& path) const {
    QFileInfo given(path);
    QFileInfo program(QString::fromStdString(target_->Source()));
    QString a = given.canonicalFilePath();
    QString b = program.canonicalFilePath();
    return !a.isEmpty() ? a == b : given.absoluteFilePath() == program.absoluteFilePath();
}

QJsonArray TDebugAdapter::ApplyBreakpoints(const QString& path, const QJsonArray& breakpoints) {
    QJsonArray results;
    const bool program = IsProgramSource(path);
    if (program) {
        for (const auto& [line, rule] : breakpoints_)
            target_->Session().SetBreakpoint(line, false);
        breakpoints_.clear();
    }
    for (const auto& value : breakpoints) {
        QJsonObject breakpoint = value.toObject();
        const int clientLine = static_cast<int>(Bounded(breakpoint.value("line").toInteger()));
        const int line = clientLine - lineBase_ + 1;
        QJsonObject result{{"id", nextBreakpointId_++},
                           {"line", clientLine},
                           {"source", QJsonObject{{"path", path}}}};
        bool verified = program && !noDebug_ && target_->Session().SetBreakpoint(line, true);
        result["verified"] = verified;
        if (verified) {
            breakpoints_[line] = {result["id"].toInt(),
                                  breakpoint.value("condition").toString().toStdString(),
                                  breakpoint.value("hitCondition").toString().toStdString(), 0};
            QString hits = breakpoint.value("hitCondition").toString();
            if (!hits.isEmpty() && !ParseHitCondition(hits.toStdString()))
                result["message"] = "the hit count takes N, >=N, >N, ==N, <N, <=N or %N";
        } else {
            result["message"] =
                program ? "no instruction on this line" : "no instructions in this file";
        }
        results.append(result);
    }
    return results;
}

void TDebugAdapter::SetBreakpoints(const QJsonObject& request, const QJsonObject& arguments) {
    const QString path = arguments.value("source").toObject().value("path").toString();
    QJsonArray breakpoints = arguments.value("breakpoints").toArray();
    if (!arguments.contains("breakpoints"))
        for (const auto& line : arguments.value("lines").toArray())
            breakpoints.append(QJsonObject{{"line", line}});
    if (target_ && !ended_)
        return Respond(request, {{"breakpoints", ApplyBreakpoints(path, breakpoints)}});
    pendingBreakpoints_[path] = breakpoints;
    QJsonArray results;
    for (const auto& breakpoint : breakpoints)
        results.append(QJsonObject{{"verified", false},
                                   {"line", breakpoint.toObject().value("line")},
                                   {"message", "the program is not launched yet"}});
    Respond(request, {{"breakpoints", results}});
}

void TDebugAdapter::SetExceptionBreakpoints(const QJsonObject& request, const QJsonObject&) {
    Respond(request, {{"breakpoints", QJsonArray()}});
}

bool TDebugAdapter::BreakpointStops(bool forward) {
    TPicoBlazeSimulator& simulator = target_->Simulator();
    auto found = breakpoints_.find(simulator.AddressToLine(simulator.PC()));
    if (found == breakpoints_.end()) return true;
    TBreakpointRule& rule = found->second;
    if (!rule.Condition.empty()) {
        try {
            if (names_->Evaluate(rule.Condition, simulator) == 0) return false;
        } catch (const EDebugExpression& error) {
            Output("stderr", QString::fromStdString("breakpoint condition '" + rule.Condition +
                                                    "': " + error.what() + "\n"));
            return true;
        }
    }
    if (!forward) return true;
    ++rule.Hits;
    if (rule.HitCondition.empty()) return true;
    auto hits = ParseHitCondition(rule.HitCondition);
    return !hits || hits->Holds(rule.Hits);
}

// --- Run control ---

void TDebugAdapter::Stopped(const QString& reason, const QString& text) {
    mode_ = TMode::Idle;
    FlushOutput();
    QJsonObject body{{"reason", reason}, {"threadId", 1}, {"allThreadsStopped", true}};
    if (!text.isEmpty()) body["text"] = text;
    if (reason == "breakpoint") {
        auto found =
            breakpoints_.find(target_->Simulator().AddressToLine(target_->Simulator().PC()));
        if (found != breakpoints_.end()) body["hitBreakpointIds"] = QJsonArray{found->second.Id};
    }
    Event("stopped", body);
}

void TDebugAdapter::EndRun() {
    mode_ = TMode::Idle;
    ended_ = true;
    int status = target_->Finish();
    FlushOutput();
    Event("exited", {{"exitCode", status}});
    Event("terminated");
}

bool TDebugAdapter::EndsRun() {
    const TPicoBlazeSimulator& simulator = target_->Simulator();
    const TStopReason reason = simulator.StopReason();
    const bool limit = simulator.InstructionLimit() >= 0 &&
                       simulator.InstructionCount() >= simulator.InstructionLimit();
    if (limit || reason == TStopReason::ExitPort || reason == TStopReason::Expectation ||
        (noDebug_ && simulator.State() == ssHalted)) {
        EndRun();
        return true;
    }
    return false;
}

void TDebugAdapter::RunTo(std::int32_t target, int depth) {
    TPicoBlazeSimulator& simulator = target_->Simulator();
    runTarget_ = target;
    runDepth_ = depth;
    const int line = simulator.AddressToLine(target);
    mode_ = line > 0 && simulator.LineToAddress(line) == target ? TMode::Running : TMode::Stepping;
}

void TDebugAdapter::StepOnce() {
    TPicoBlazeSimulator& simulator = target_->Simulator();
    simulator.Step();
    target_->Session().IO().SynchronizeUARTs();
    target_->Pump();
    if (EndsRun()) return;
    if (simulator.State() == ssHalted)
        return Stopped("exception", "the simulation halted on an error");
    Stopped("step");
}

void TDebugAdapter::Advance() {
    if (!target_ || ended_) {
        mode_ = TMode::Idle;
        return;
    }
    TPicoBlazeSimulator& simulator = target_->Simulator();
    if (mode_ == TMode::Stepping) {
        for (int i = 0; i < 10'000; ++i) {
            simulator.Step();
            if (EndsRun()) return;
            if (simulator.State() == ssHalted)
                return Stopped("exception", "the simulation halted on an error");
            if (simulator.PC() == runTarget_ && simulator.SP() <= runDepth_) return Stopped("step");
            if (simulator.IsBreakpoint(simulator.PC()) && BreakpointStops())
                return Stopped("breakpoint");
        }
        target_->Session().IO().SynchronizeUARTs();
        target_->Pump();
        FlushOutput();
        return;
    }
    // A breakpoint whose condition fails, or the target reached deeper in
    // the return stack, goes on within the same burst.
    const std::int64_t start = simulator.InstructionCount();
    for (;;) {
        if (runTarget_ >= 0 && simulator.IsPaused())
            simulator.AimRunToLine(simulator.AddressToLine(runTarget_));
        const std::int64_t done = simulator.InstructionCount() - start;
        const TStopReason reason = target_->Session().RunBurst(kBurstInstructions - done);
        target_->Pump();
        const bool burstLeft = simulator.InstructionCount() - start < kBurstInstructions;
        switch (reason) {
        case TStopReason::None: FlushOutput(); return;
        case TStopReason::Breakpoint:
            if (BreakpointStops()) return Stopped("breakpoint");
            // Pauses at a breakpoint keep the run from seeing its limit.
            if (EndsRun()) return;
            break;
        case TStopReason::RunTo:
            if (simulator.SP() <= runDepth_) return Stopped("step");
            if (EndsRun()) return;
            break;
        case TStopReason::Pause: return Stopped("pause");
        case TStopReason::Error:
            if (EndsRun()) return;
            return Stopped("exception", "the simulation halted on an error");
        case TStopReason::Limit:
        case TStopReason::ExitPort:
        case TStopReason::Expectation: EndRun(); return;
        }
        if (!burstLeft) {
            FlushOutput();
            return;
        }
    }
}

void TDebugAdapter::Continue(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    Respond(request, {{"allThreadsContinued", true}});
    if (target_->Simulator().State() == ssHalted) return EndRun();
    runTarget_ = -1;
    mode_ = TMode::Running;
}

void TDebugAdapter::Pause(const QJsonObject& request, const QJsonObject&) {
    if (!Running(request)) return;
    Respond(request);
    if (!Busy()) return;
    TPicoBlazeSimulator& simulator = target_->Simulator();
    if (simulator.IsRunning()) simulator.Pause();
    Stopped("pause");
}

void TDebugAdapter::Next(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    Respond(request);
    TPicoBlazeSimulator& simulator = target_->Simulator();
    if (simulator.State() == ssHalted) return EndRun();
    TCodeEntry entry;
    simulator.GetCodeEntry(simulator.PC(), entry);
    if (entry.HasCode && IsCall(simulator.CoreKind(), entry.Word) &&
        simulator.PC() + 1 < simulator.CodeSize())
        return RunTo(simulator.PC() + 1, simulator.SP());
    StepOnce();
}

void TDebugAdapter::StepIn(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    Respond(request);
    if (target_->Simulator().State() == ssHalted) return EndRun();
    StepOnce();
}

void TDebugAdapter::StepOut(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    Respond(request);
    TPicoBlazeSimulator& simulator = target_->Simulator();
    if (simulator.State() == ssHalted) return EndRun();
    const int depth = simulator.SP();
    if (depth <= 0) return StepOnce();
    const std::int32_t entry = simulator.StackEntry(depth - 1);
    const bool keepsCallSite = CoreDecoding(simulator.CoreKind()).Behaviour.StackKeepsCallSite;
    RunTo(keepsCallSite ? entry + 1 : entry, depth - 1);
}

void TDebugAdapter::StepBack(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    Respond(request);
    target_->Session().StepBack();
    Stopped("step");
}

void TDebugAdapter::ReverseContinue(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    Respond(request);
    TSimulationSession& session = target_->Session();
    // Back to a breakpoint whose condition holds, else to the oldest state
    // recorded.
    for (;;) {
        const std::int64_t recorded = session.RecordedSteps();
        if (session.RunBack() != TStopReason::Breakpoint) return Stopped("step");
        if (BreakpointStops(false)) return Stopped("breakpoint");
        if (session.RecordedSteps() >= recorded) return Stopped("step");
    }
}

// --- Inspection ---

void TDebugAdapter::Threads(const QJsonObject& request, const QJsonObject&) {
    QString name = "PicoBlaze";
    if (target_)
        name = QString::fromUtf8(CoreDescription(target_->Simulator().CoreKind()).ModeCaption);
    Respond(request, {{"threads", QJsonArray{QJsonObject{{"id", 1}, {"name", name}}}}});
}

void TDebugAdapter::StackTrace(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    QJsonArray all = view.StackFrames();
    const int start = std::max(0, arguments.value("startFrame").toInt());
    const int levels = arguments.value("levels").toInt();
    QJsonArray frames;
    for (int i = start; i < all.size() && (levels <= 0 || i - start < levels); ++i)
        frames.append(all[i]);
    Respond(request, {{"stackFrames", frames}, {"totalFrames", all.size()}});
}

void TDebugAdapter::Scopes(const QJsonObject& request, const QJsonObject&) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    Respond(request, {{"scopes", view.Scopes()}});
}

void TDebugAdapter::Variables(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    auto variables = view.Variables(arguments.value("variablesReference").toInt());
    if (!variables) return Refuse(request, "no such variables");
    Respond(request, {{"variables", *variables}});
}

void TDebugAdapter::SetVariable(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Paused(request)) return;
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    try {
        QString value = view.SetVariable(arguments.value("variablesReference").toInt(),
                                         arguments.value("name").toString(),
                                         arguments.value("value").toString());
        Respond(request, {{"value", value}, {"variablesReference", 0}});
    } catch (const EDebugExpression& error) {
        Refuse(request, error.what());
    }
}

void TDebugAdapter::Evaluate(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Running(request)) return;
    try {
        std::int32_t value = names_->Evaluate(
            arguments.value("expression").toString().toStdString(), target_->Simulator());
        Respond(request, {{"result", TProgramView::ValueText(value)}, {"variablesReference", 0}});
    } catch (const EDebugExpression& error) {
        Refuse(request, error.what());
    }
}

void TDebugAdapter::Disassemble(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Running(request)) return;
    std::int64_t base = AddressNamed(arguments.value("memoryReference").toString());
    if (base < 0) return Refuse(request, "no code address");
    const std::int64_t first = Bounded(base) + Bounded(arguments.value("offset").toInteger()) +
                               Bounded(arguments.value("instructionOffset").toInteger());
    const qint64 count =
        std::clamp<qint64>(arguments.value("instructionCount").toInteger(), 0, 4096);
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    Respond(request, {{"instructions", view.Disassembly(first, static_cast<int>(count))}});
}

void TDebugAdapter::ReadMemory(const QJsonObject& request, const QJsonObject& arguments) {
    if (!Running(request)) return;
    const QString reference = arguments.value("memoryReference").toString();
    std::int64_t base = reference == "scratchpad" ? 0 : AddressNamed(reference);
    if (base < 0) return Refuse(request, "memory references are 'scratchpad' or an offset in it");
    TProgramView view(target_->Simulator(), target_->Session(), *names_,
                      QString::fromStdString(target_->Source()), lineBase_);
    Respond(request,
            view.ScratchPadBytes(Bounded(base) + Bounded(arguments.value("offset").toInteger()),
                                 Bounded(arguments.value("count").toInteger())));
}

} // namespace korvo::servers
