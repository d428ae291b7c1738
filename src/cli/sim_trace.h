#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvo {
class TPicoBlazeDebugger;
}

namespace korvo::cli {

// The --trace output of korvo sim: one line "I <pc> <word>" per completed
// instruction, in the core's address and word digits, followed by one line
// per access it made: "R <port> <value>", "W <port> <value>", "F <offset>
// <value>" or "S <offset> <value>". An instruction that did not complete
// (an interrupt cycle, a failure) gets no "I" line; its accesses are still
// shown.
class TInstructionTrace {
public:
    TInstructionTrace(const TPicoBlazeDebugger& simulator, std::ostream& out);

    // Before each cycle: writes out the cycle before it.
    void BeforeCycle();
    void Access(char kind, std::int32_t address, std::int32_t value);
    // Writes out the current cycle when it has completed an instruction, so
    // that a log line about it (a pause, a halt) follows its trace.
    void FlushCompleted();
    // After the run: writes out the last cycle.
    void Finish();

private:
    const TPicoBlazeDebugger& simulator_;
    std::ostream& out_;
    bool pending_ = false;
    std::int32_t pc_ = 0;
    std::int64_t countBefore_ = 0;
    std::vector<std::string> accesses_;
};

} // namespace korvo::cli
