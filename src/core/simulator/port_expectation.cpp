#include "simulator/port_expectation.h"

#include "common/number_text.h"
#include "common/text_file.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/state_bytes.h"

namespace korvo {

std::vector<TExpectedValue> ReadExpectedValues(const std::string& path) {
    std::vector<TExpectedValue> values;
    auto lines = ReadTextLines(path);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(" \t") == std::string::npos) continue;
        int line = static_cast<int>(i) + 1;
        auto value = ParseIntegerText(lines[i]);
        if (!value || *value < 0 || *value > 0xFF)
            throw EFileError(path + ":" + std::to_string(line) + ": " + lines[i] +
                             (value ? " is not a value from 0 to 255" : " is not an integer"));
        values.push_back({line, *value});
    }
    return values;
}

TPortExpectation::TPortExpectation(TPicoBlazeSimulator& simulator, int port, std::string file,
                                   std::vector<TExpectedValue> values)
    : simulator_(simulator), port_(port), file_(std::move(file)), values_(std::move(values)) {}

void TPortExpectation::Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) {
    if (kind != TAccessKind::PortWrite || address != port_ || mismatch_) return;
    if (matched_ < values_.size() && values_[matched_].Value == value) {
        ++matched_;
        return;
    }
    TMismatch mismatch{0, std::nullopt, value, simulator_.InstructionCount() + 1,
                       simulator_.AddressToLine(simulator_.PC())};
    if (matched_ < values_.size()) {
        mismatch.FileLine = values_[matched_].FileLine;
        mismatch.Expected = values_[matched_].Value;
    } else {
        mismatch.FileLine = values_.empty() ? 1 : values_.back().FileLine + 1;
    }
    mismatch_ = mismatch;
    simulator_.RequestStop(TStopReason::Expectation);
}

void TPortExpectation::Finish() {
    if (mismatch_ || matched_ >= values_.size()) return;
    mismatch_ = TMismatch{values_[matched_].FileLine, values_[matched_].Value, std::nullopt,
                          simulator_.InstructionCount(), -1};
}

void TPortExpectation::SaveState(TStateWriter& out) const {
    out.Put(matched_);
    out.Put(mismatch_);
}

void TPortExpectation::RestoreState(TStateReader& in) {
    in.Get(matched_);
    in.Get(mismatch_);
}

} // namespace korvo
