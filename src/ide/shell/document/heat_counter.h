#pragma once

#include "simulator/coverage.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvo {

// How many instructions each source line completed since the program was
// last reset, counted while the heat column is shown: counting costs a run
// a little, so it exists only then.
class THeatCounter {
public:
    explicit THeatCounter(TPicoBlazeSimulator& simulator);

    // Counts from zero again when the program was reset since the last call;
    // called at least at every reset.
    void FollowReset();
    // One entry per line from 0 (lineCount in all): the count of a line with
    // code, none for the others.
    std::vector<std::optional<std::uint64_t>> LineCounts(int lineCount);

private:
    TPicoBlazeSimulator& simulator_;
    TCoverage coverage_;
    std::int64_t instructions_;
};

} // namespace korvo
