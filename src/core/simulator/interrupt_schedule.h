#pragma once

#include "simulator/run_observer.h"

#include <cstdint>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;

// Raises interrupt events at given instruction counts: once N instructions
// have completed, so that the interrupt takes the place of instruction
// N + 1, as the hardware takes a line that rises once N - 1 instructions
// have completed. The run goes at full speed between them.
class TInterruptSchedule : public IRunObserver {
public:
    // at: the counts of single events, in any order; every: a count between
    // repeated events (N, 2N, 3N, ...), 0 for none.
    TInterruptSchedule(TPicoBlazeSimulator& simulator, std::vector<std::int64_t> at,
                       std::int64_t every);

    std::int64_t NextDueCount() const override;
    void Due() override;
    void SaveState(TStateWriter& out) const override;
    void RestoreState(TStateReader& in) override;
    bool Watches(TAccessKind, std::int32_t) const override { return false; }

private:
    TPicoBlazeSimulator& simulator_;
    std::vector<std::int64_t> at_; // ascending
    std::size_t nextAt_ = 0;
    std::int64_t every_;
    std::int64_t nextEvery_;
};

} // namespace korvo
