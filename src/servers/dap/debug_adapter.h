#pragma once

#include "dap/breakpoint_rules.h"
#include "dap/debug_expression.h"
#include "dap/debug_target.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace korvo::servers {

// The debug adapter's side of a debug session: it answers the client's
// requests, launches the program through the launcher and drives its run in
// bursts, so that the client's requests (pause above all) are served while
// the program runs.
//
// The run goes on while Busy(): the caller calls Advance() for each burst
// and hands over the client's messages between them.
class TDebugAdapter {
public:
    using TSend = std::function<void(const QJsonObject& message)>;

    TDebugAdapter(TDebugLauncher launcher, TSend send);
    ~TDebugAdapter();
    TDebugAdapter(const TDebugAdapter&) = delete;
    TDebugAdapter& operator=(const TDebugAdapter&) = delete;

    // A message of the client; anything but a request is ignored.
    void Handle(const QJsonObject& message);
    // A message that could not be read: the client hears why.
    void ReportUnreadable(const std::string& error);
    // A run or a step is going on.
    bool Busy() const { return mode_ != TMode::Idle; }
    // One burst of the run that is going on.
    void Advance();
    // The client has disconnected.
    bool Done() const { return done_; }
    // The client is gone: ends a run that is still on (its result files are
    // written) without a word to the client.
    void Shutdown();
    // Instructions per burst.
    static constexpr std::int64_t kBurstInstructions = 200'000;

private:
    enum class TMode {
        Idle,
        Running,  // continue, and the calls that next and stepOut run over
        Stepping, // the same one instruction at a time, where no line marks the target
    };
    using THandler = void (TDebugAdapter::*)(const QJsonObject& request,
                                             const QJsonObject& arguments);
    static const std::map<QString, THandler>& Handlers();

    void Respond(const QJsonObject& request, const QJsonObject& body = {});
    void Refuse(const QJsonObject& request, const QString& message);
    void Event(const QString& event, const QJsonObject& body = {});
    void Output(const QString& category, const QString& text);
    void FlushOutput();
    // The program was launched and the run has not ended; else refuses.
    bool Running(const QJsonObject& request);
    bool Paused(const QJsonObject& request);

    void Initialize(const QJsonObject& request, const QJsonObject& arguments);
    void Launch(const QJsonObject& request, const QJsonObject& arguments);
    void ConfigurationDone(const QJsonObject& request, const QJsonObject& arguments);
    void SetBreakpoints(const QJsonObject& request, const QJsonObject& arguments);
    void SetExceptionBreakpoints(const QJsonObject& request, const QJsonObject& arguments);
    void Threads(const QJsonObject& request, const QJsonObject& arguments);
    void StackTrace(const QJsonObject& request, const QJsonObject& arguments);
    void Scopes(const QJsonObject& request, const QJsonObject& arguments);
    void Variables(const QJsonObject& request, const QJsonObject& arguments);
    void SetVariable(const QJsonObject& request, const QJsonObject& arguments);
    void Evaluate(const QJsonObject& request, const QJsonObject& arguments);
    void Disassemble(const QJsonObject& request, const QJsonObject& arguments);
    void ReadMemory(const QJsonObject& request, const QJsonObject& arguments);
    void Continue(const QJsonObject& request, const QJsonObject& arguments);
    void Pause(const QJsonObject& request, const QJsonObject& arguments);
    void Next(const QJsonObject& request, const QJsonObject& arguments);
    void StepIn(const QJsonObject& request, const QJsonObject& arguments);
    void StepOut(const QJsonObject& request, const QJsonObject& arguments);
    void StepBack(const QJsonObject& request, const QJsonObject& arguments);
    void ReverseContinue(const QJsonObject& request, const QJsonObject& arguments);
    void Terminate(const QJsonObject& request, const QJsonObject& arguments);
    void Disconnect(const QJsonObject& request, const QJsonObject& arguments);

    // The breakpoints of a source; the protocol's answer for each.
    QJsonArray ApplyBreakpoints(const QString& path, const QJsonArray& breakpoints);
    bool IsProgramSource(const QString& path) const;
    // The run starts once launched and configured.
    void StartWhenReady();
    // Runs until the code address target with the return stack at most
    // depth deep (a breakpoint may stop it first); stopped then with reason.
    void RunTo(std::int32_t target, int depth);
    // One instruction; stopped "step" after it.
    void StepOnce();
    // Whether the breakpoint just reached stops the run: its condition, and
    // going forward its hit count (which counts this arrival).
    bool BreakpointStops(bool forward = true);
    void Stopped(const QString& reason, const QString& text = {});
    // Whether a stop of the run (other than at a breakpoint or the target)
    // ends it; ends it then.
    bool EndsRun();
    // The end of the run: its report, exited with its status, terminated.
    void EndRun();

    TDebugLauncher launcher_;
    TSend send_;
    int sequence_ = 0;
    int lineBase_ = 1;
    std::unique_ptr<IDebugTarget> target_;
    std::unique_ptr<TDebugNames> names_;
    bool configured_ = false;
    bool started_ = false;
    bool stopOnEntry_ = false;
    bool noDebug_ = false;
    bool ended_ = false;
    bool done_ = false;
    TMode mode_ = TMode::Idle;
    // The target of next and stepOut: a code address and the deepest
    // return stack it counts at; -1 for a plain continue.
    std::int32_t runTarget_ = -1;
    int runDepth_ = 0;
    TBreakpointRules breakpoints_;
    // Breakpoints set before the launch, by source path.
    std::map<QString, QJsonArray> pendingBreakpoints_;
    int nextBreakpointId_ = 1;
};

} // namespace korvo::servers
