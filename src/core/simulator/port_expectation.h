#pragma once

#include "simulator/run_observer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvo {

class TPicoBlazeSimulator;

// One value a program must write, with the line of the file it came from.
struct TExpectedValue {
    int FileLine;
    std::int32_t Value;
};

// The values of a file of expected output, one per line in the syntax of
// stimulus files (decimal, or hexadecimal after "$"); blank lines are
// skipped. Throws EFileError for a file that cannot be read or a line that
// is not a number.
std::vector<TExpectedValue> ReadExpectedValues(const std::string& path);

// The values a program must write to a port, in order: the first write that
// differs ends the run after its instruction. Values still expected when
// the run ends are a difference as well (Finish).
class TPortExpectation : public IRunObserver {
public:
    struct TMismatch {
        int FileLine;                         // of the expected value
        std::optional<std::int32_t> Expected; // none: the file had no more
        std::optional<std::int32_t> Got;      // none: the run ended first
        std::int64_t InstructionCount;        // when it was seen, the write included
        int SourceLine;                       // of the write; -1 when the run ended
    };

    TPortExpectation(TPicoBlazeSimulator& simulator, int port, std::string file,
                     std::vector<TExpectedValue> values);

    int Port() const { return port_; }
    const std::string& File() const { return file_; }
    std::size_t ExpectedCount() const { return values_.size(); }
    // Values written as expected so far.
    std::size_t Matched() const { return matched_; }
    const std::optional<TMismatch>& Mismatch() const { return mismatch_; }
    // At the end of the run.
    void Finish();

    bool Watches(TAccessKind kind, std::int32_t address) const override {
        return kind == TAccessKind::PortWrite && address == port_;
    }
    void Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) override;
    void SaveState(TStateWriter& out) const override;
    void RestoreState(TStateReader& in) override;

private:
    TPicoBlazeSimulator& simulator_;
    int port_;
    std::string file_;
    std::vector<TExpectedValue> values_;
    std::size_t matched_ = 0;
    std::optional<TMismatch> mismatch_;
};

} // namespace korvo
