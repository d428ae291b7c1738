#pragma once

#include "analysis/check_annotations.h"
#include "analysis/program_check.h"
#include "analysis/program_flow.h"

#include <functional>
#include <map>
#include <vector>

namespace korvo {

// The shortest and longest time, in clock cycles, from an instruction until
// control reaches one of the end points. A CALL costs what its routine costs
// until it returns; a loop costs its bound (;@loop N on the branch that
// closes it) times its longest pass. Without a bound the longest time is
// unknown, and the range names the loop.
class TCycleCounter {
public:
    TCycleCounter(const TProgramFlow& flow, const std::map<int, TCheckAnnotation>& annotations)
        : flow_(flow), annotations_(annotations) {}

    // What ends a path at an address: nothing, reaching it (the instruction
    // does not count), running it, or running it when it returns (a
    // conditional return: the path may also go on).
    enum class TEnd { None, Before, After, AfterOrOn };
    using TEndPoints = std::function<TEnd(int address)>;

    TCycleRange Between(int start, const TEndPoints& ends);
    // From a routine's entry until it returns.
    TCycleRange Routine(int entry);

private:
    const TProgramFlow& flow_;
    const std::map<int, TCheckAnnotation>& annotations_;
    std::map<int, TCycleRange> routines_;
    std::vector<int> routinesInProgress_;
};

} // namespace korvo
