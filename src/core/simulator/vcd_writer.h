#pragma once

#include "simulator/run_observer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;

// Writes a run as a Value Change Dump in simulated time, as waveform viewers
// read it. Instruction n (counted from 0 at the reset) takes two clock
// cycles from time n × 2 / frequency: from then on pc and instr show it,
// the strobes of the ports it reads or writes are high and their values
// show what went over the port; the registers and flags show what the
// instructions before it left. At most a given number of instructions is
// written, after which the run goes on at full speed.
//
// Scopes: the core (pc, instr, registers of each bank and the active bank,
// zero, carry, interrupt, ie) and the ports (every mapped port's value with
// its read and write strobe, and the constant ports of OUTK with theirs).
class TVcdWriter : public IRunObserver {
public:
    TVcdWriter(const TPicoBlazeSimulator& simulator, std::ostream& out, std::int32_t frequencyMHz,
               std::int64_t instructionLimit);

    // The declarations and the values at time 0; once the program is loaded
    // and reset.
    void Begin();
    // The values at the end of the run (or at the limit, when it came first).
    void Finish();

    bool WatchesCycles() const override { return started_ && !finished_; }
    void BeforeCycle() override;
    void AfterCycle() override;
    bool Watches(TAccessKind kind, std::int32_t /*address*/) const override {
        return kind == TAccessKind::PortRead || kind == TAccessKind::PortWrite ||
               kind == TAccessKind::ConstantWrite;
    }
    void Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) override;

private:
    struct TSignal {
        std::string Scope;
        std::string Name;
        int Width;
        std::string Id;
        std::uint32_t Value = 0; // the value of this instruction
        std::uint32_t Shown = 0; // the value last written out
    };
    using TSample = std::function<std::uint32_t(const TPicoBlazeSimulator&)>;

    void AddSignal(std::string scope, std::string name, int width);
    // A signal of the core, read from the simulator before each instruction.
    void AddState(std::string name, int width, TSample sample);
    void Sample();
    // Writes the changed signals at the time of instruction count.
    void WriteChanges(std::int64_t count);
    void WriteValue(const TSignal& signal);
    void ClearStrobes();
    std::int64_t Picoseconds(std::int64_t count) const;

    const TPicoBlazeSimulator& simulator_;
    std::ostream& out_;
    std::int32_t frequencyMHz_;
    std::int64_t limit_;
    std::vector<TSignal> signals_;
    std::vector<std::pair<std::size_t, TSample>> states_;
    // Per port: its value signal, followed by the read and write strobes;
    // -1 for a port without signals.
    std::array<int, 256> portSignals_{};
    // Per constant port (OUTK): its value signal, followed by its strobe.
    std::array<int, 16> constantSignals_{};
    std::int64_t countBefore_ = 0;
    std::int64_t lastTime_ = -1;
    bool started_ = false;
    bool finished_ = false;
};

} // namespace korvo
