#pragma once

#include "simulator/picoblaze_simulator.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvo {

// Counts the completed instructions at every code address while it exists,
// and gives them per source line: what the IDE colours and what a coverage
// report lists. The run keeps nearly its full speed while counting.
class TCoverage {
public:
    explicit TCoverage(TPicoBlazeSimulator& simulator);
    ~TCoverage();
    TCoverage(const TCoverage&) = delete;
    TCoverage& operator=(const TCoverage&) = delete;

    std::uint64_t Count(int address) const;
    void Clear() { counts_.fill(0); }

    struct TLine {
        int Line;
        std::uint64_t Count; // completed instructions on the line
    };
    // Every source line that holds an instruction, in ascending order.
    std::vector<TLine> Lines() const;

private:
    TPicoBlazeSimulator& simulator_;
    TPicoBlazeSimulator::TExecutionCounts counts_{};
};

// The lines as an lcov tracefile of one source (SF, one DA per line, LF, LH,
// end_of_record), as genhtml reads it.
void WriteLcovTrace(std::ostream& out, const std::string& sourcePath,
                    const std::vector<TCoverage::TLine>& lines);

} // namespace korvo
