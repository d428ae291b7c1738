#include "simulator/coverage.h"

#include <algorithm>
#include <map>
#include <ostream>

namespace korvo {

TCoverage::TCoverage(TPicoBlazeSimulator& simulator) : simulator_(simulator) {
    simulator_.SetExecutionCounts(&counts_);
}

TCoverage::~TCoverage() {
    simulator_.SetExecutionCounts(nullptr);
}

std::uint64_t TCoverage::Count(int address) const {
    return address >= 0 && address < kCodeImageSize ? counts_[address] : 0;
}

std::vector<TCoverage::TLine> TCoverage::Lines() const {
    std::map<int, std::uint64_t> byLine;
    for (int address = 0; address < simulator_.CodeSize(); ++address) {
        if (!simulator_.HasCode(address)) continue;
        int line = simulator_.AddressToLine(address);
        if (line >= 1) byLine[line] += counts_[address];
    }
    std::vector<TLine> lines;
    for (const auto& [line, count] : byLine)
        lines.push_back({line, count});
    return lines;
}

void WriteLcovTrace(std::ostream& out, const std::string& sourcePath,
                    const std::vector<TCoverage::TLine>& lines) {
    out << "TN:\nSF:" << sourcePath << "\n";
    for (const auto& line : lines)
        out << "DA:" << line.Line << "," << line.Count << "\n";
    auto hit = std::count_if(lines.begin(), lines.end(),
                             [](const TCoverage::TLine& line) { return line.Count > 0; });
    out << "LF:" << lines.size() << "\nLH:" << hit << "\nend_of_record\n";
}

} // namespace korvo
