#pragma once

#include "simulator/run_observer.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;

// The trace of korvo sim --trace and of the HDL core models: one line "I <pc> <word>" per completed
// instruction, in the core's address and word digits, followed by one line
// per access it made: "R <port> <value>", "W <port> <value>", "F <offset>
// <value>" or "S <offset> <value>". An instruction that did not complete
// (an interrupt cycle, a failure) gets no "I" line; its accesses are still
// shown.
class TInstructionTrace : public IRunObserver {
public:
    TInstructionTrace(const TPicoBlazeSimulator& simulator, std::ostream& out);

    bool WatchesCycles() const override { return true; }
    void BeforeCycle() override;
    void AfterCycle() override;
    void Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) override;

private:
    const TPicoBlazeSimulator& simulator_;
    std::ostream& out_;
    std::int32_t pc_ = 0;
    std::int64_t countBefore_ = 0;
    std::vector<std::string> accesses_;
};

} // namespace korvo
