#include "simulator/instruction_trace.h"

#include "common/number_text.h"
#include "simulator/simulator.h"

#include <ostream>

namespace korvo {

TInstructionTrace::TInstructionTrace(const TPicoBlazeSimulator& simulator, std::ostream& out)
    : simulator_(simulator), out_(out) {}

void TInstructionTrace::BeforeCycle() {
    pc_ = simulator_.PC();
    countBefore_ = simulator_.InstructionCount();
    accesses_.clear();
}

void TInstructionTrace::Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) {
    accesses_.push_back(std::string(1, "RWFSK"[static_cast<int>(kind)]) + " " +
                        HexText(address, 2) + " " + HexText(value, 2));
}

void TInstructionTrace::AfterCycle() {
    if (simulator_.InstructionCount() > countBefore_) {
        const TCoreDescription& core = CoreDescription(simulator_.CoreKind());
        TCodeEntry entry;
        simulator_.GetCodeEntry(pc_, entry);
        out_ << "I " << HexText(pc_, core.AddressDigits()) << " "
             << HexText(entry.Word, core.WordDigits()) << "\n";
    }
    for (const auto& line : accesses_)
        out_ << line << "\n";
    accesses_.clear();
}

} // namespace korvo
