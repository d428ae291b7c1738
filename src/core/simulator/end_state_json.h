#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvo {

class TExitPort;
class TPicoBlazeSimulator;
class TPortExpectation;
class TSimulationIO;

// The version of the end state's layout; docs/sim-end-state.schema.json
// describes it. Raised when a field changes its meaning or goes away, not
// when one is added.
inline constexpr int kEndStateJsonVersion = 1;

// What a run knows beyond the simulator and its peripherals.
struct TRunOutcome {
    std::string Source;
    std::int32_t FrequencyMHz = 0;
    const TExitPort* ExitPort = nullptr;
    std::vector<const TPortExpectation*> Expectations;
};

// The state at the end of a run as one JSON object: the core, why the run
// stopped, the instruction count and simulated time, pc, stack, registers,
// flags, scratch pad, every mapped port's value, the UART, the exit port
// and the expected outputs.
void WriteEndStateJson(std::ostream& out, const TPicoBlazeSimulator& simulator, TSimulationIO& io,
                       const TRunOutcome& outcome);

} // namespace korvo
