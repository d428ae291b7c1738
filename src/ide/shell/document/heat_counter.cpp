#include "shell/document/heat_counter.h"

namespace korvo {

THeatCounter::THeatCounter(TPicoBlazeSimulator& simulator)
    : simulator_(simulator), coverage_(simulator), instructions_(simulator.InstructionCount()) {}

void THeatCounter::FollowReset() {
    // A reset takes the instruction count back to 0.
    if (simulator_.InstructionCount() < instructions_) coverage_.Clear();
    instructions_ = simulator_.InstructionCount();
}

std::vector<std::optional<std::uint64_t>> THeatCounter::LineCounts(int lineCount) {
    FollowReset();
    std::vector<std::optional<std::uint64_t>> counts(static_cast<std::size_t>(lineCount));
    for (const auto& line : coverage_.Lines())
        if (line.Line <= lineCount) counts[line.Line - 1] = line.Count;
    return counts;
}

} // namespace korvo
