#pragma once

#include "common/assembly_sink.h"
#include "simulator/decode.h"

#include <cstdint>
#include <map>
#include <vector>

namespace korvo {

// How control leaves an instruction.
enum class TFlowKind : std::uint8_t {
    Step,              // to the next address
    Jump,              // to its target only
    ConditionalJump,   // to its target or the next address
    Call,              // into its target, back to the next address
    ConditionalCall,   // into its target or straight on
    Return,            // back to the caller
    ConditionalReturn, // back to the caller or straight on
    ReturnFromInterrupt,
    ComputedJump, // JUMP (sX, sY): to the targets an annotation names
    ComputedCall, // CALL (sX, sY)
    Stop,         // no instruction, or one the core cannot run
};

// The registers an instruction reads and writes, as bit sets over the
// register numbers of the active bank; OtherBankWrites for STAR.
struct TRegisterEffect {
    std::uint32_t Reads = 0;
    std::uint32_t Writes = 0;
    std::uint32_t OtherBankWrites = 0;
};

// The assembled program as a graph of instructions: what each address holds,
// where control goes from it, and what it does to the registers, the
// interrupt enable and the bank. Built from the code image with the core's
// own decode table.
class TProgramFlow {
public:
    struct TInstruction {
        bool HasCode = false;
        int Line = -1; // source line, from 1
        TDecoded Decoded;
        std::uint32_t Word = 0;
    };

    // computedTargets: the addresses each computed JUMP or CALL reaches, by
    // its address; those without an entry reach nothing known.
    TProgramFlow(const TAssemblyImage& image, std::map<int, std::vector<int>> computedTargets);

    TCoreKind Core() const { return core_; }
    int CodeSize() const { return static_cast<int>(instructions_.size()); }
    const TInstruction& At(int address) const { return instructions_[Index(address)]; }
    TFlowKind Kind(int address) const;
    // Where a jump or call goes: its target, or the known targets of a
    // computed one.
    std::vector<int> Targets(int address) const;
    // Whether the address after this one can run next (after a call returns,
    // too); false at the end of the code space.
    bool FallsThrough(int address) const;
    bool IsComputedWithoutTargets(int address) const;

    TRegisterEffect RegisterEffect(int address) const;
    // What the instruction leaves the interrupt enable at; unchanged when
    // it does not touch it. Returns from an interrupt give what they set.
    bool InterruptEnableAfter(int address, bool before) const;
    // The bank (0 A, 1 B) after the instruction.
    int BankAfter(int address, int before) const;

private:
    std::size_t Index(int address) const { return static_cast<std::size_t>(address); }

    TCoreKind core_;
    std::vector<TInstruction> instructions_;
    std::map<int, std::vector<int>> computedTargets_;
};

// Two clock cycles for every instruction, on every core.
inline constexpr int kCyclesPerInstruction = 2;

} // namespace korvo
