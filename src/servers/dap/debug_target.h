#pragma once

#include <QJsonObject>

#include <functional>
#include <memory>
#include <string>

namespace korvo {
class TPicoBlazeSimulator;
class TSimulationSession;
} // namespace korvo

namespace korvo::servers {

// A program the debug adapter has launched: assembled into its simulator,
// its session built with the observers its options ask for, paused at 0.
class IDebugTarget {
public:
    virtual ~IDebugTarget() = default;
    virtual TPicoBlazeSimulator& Simulator() = 0;
    virtual TSimulationSession& Session() = 0;
    // The source file, as the launch named it.
    virtual const std::string& Source() const = 0;
    // Between bursts of the run: moves what the UARTs' hosts (their TCP
    // ports) have for them and from them.
    virtual void Pump() = 0;
    // What the run wrote since the last call: its log and report, and its
    // errors.
    virtual std::string TakeText() = 0;
    virtual std::string TakeErrors() = 0;
    // The bytes the UARTs sent that no host took (none is served).
    virtual std::string TakeUartOutput() = 0;
    // Ends the run: the report and the result files; the exit status, as
    // the command line run of the same program would end with it.
    virtual int Finish() = 0;
};

// What a launch gave: the target, or the exit status and the messages of
// a launch that failed (a bad option, errors in the source).
struct TLaunch {
    std::unique_ptr<IDebugTarget> Target;
    int ExitStatus = 0;
    std::string Text;
    std::string Errors;
};

// Assembles the launch request's program with its options.
using TDebugLauncher = std::function<TLaunch(const QJsonObject& arguments)>;

} // namespace korvo::servers
