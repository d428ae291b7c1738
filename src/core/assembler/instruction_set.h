#pragma once

#include "assembler/keywords.h"
#include "common/core_kind.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace korvo {

// Operand-format class of an instruction; the same for every core.
enum TOperandFormat : std::uint8_t {
    fmtNone = 0,
    fmtJump = 1,
    fmtCall = 2,
    fmtReturn = 3,
    fmtReturnI = 4,
    fmtLogical = 5,
    fmtArith = 6,
    fmtShift = 7,
    fmtPort = 8,
    fmtInterrupt = 9, // no operands
    fmtInst = 10,
    fmtConstantPort = 11, // OUTK kk, p
    fmtLoadReturn = 12,   // RETL sX, kk
};

// Instruction words, including the empty last entry of MnemonicNames.
inline constexpr int kInstructionCount = static_cast<int>(MnemonicNames.size());

// Instruction indexes, in the order of MnemonicNames.
enum TInstructionIndex : int {
    inJUMP,
    inCALL,
    inRET,
    inRETI,
    inEINT,
    inDINT,
    inSR0,
    inSR1,
    inSRX,
    inSRA,
    inRR,
    inSL0,
    inSL1,
    inSLX,
    inSLA,
    inRL,
    inLOAD,
    inAND,
    inOR,
    inXOR,
    inTEST,
    inADD,
    inADDC,
    inSUB,
    inSUBC,
    inCOMP,
    inIN,
    inOUT,
    inFETCH,
    inSTORE,
    inINST,
    inCOMPC,
    inTESTC,
    inSTAR,
    inOUTK,
    inRETL,
    inHWBUILD,
    inBANKA,
    inBANKB,
    inEmpty,
    // Operand forms with base words of their own, after the words: JUMP and
    // CALL through a register pair, (sX, sY).
    inJUMPAT,
    inCALLAT,
};
inline constexpr int kOpcodeCount = inCALLAT + 1;
static_assert(inEmpty + 1 == kInstructionCount, "one index per instruction word");

extern const std::array<TOperandFormat, kInstructionCount> FormatTable;

// What each instruction does to the flags, in words ("C: ..., Z: ..."), by
// instruction index.
extern const std::array<std::string_view, kInstructionCount> FlagEffectTable;

// How one core lays out its instruction words; the core's sizes and limits
// are in its description (common/core_kind.h).
struct TCoreEncoding {
    TCoreKind Kind;
    // Message for a register the core lacks; the register's name follows.
    std::string_view RegisterRangeMessage;
    int YRegisterShift; // where a second register goes
    // Set in the word when the second operand of LOAD ... SUBC is a register,
    // and when it is a constant.
    std::uint32_t AluRegisterForm;
    std::uint32_t AluConstantForm;
    // Set in the word when the port of IN, OUT, FETCH, STORE is a register,
    // and when it is a constant; HasRegisterPorts is false when the core has
    // no register-indirect port access.
    bool HasRegisterPorts;
    std::uint32_t PortRegisterForm;
    std::uint32_t PortConstantForm;
    // The constant form of LOAD ... SUBC is derived from the register form's
    // base word: (base << 12) and $F000.
    bool DerivesConstantForm;
    int ConditionShift;
    std::uint32_t RetiEnableBits;
    std::uint32_t RetiDisableBits;
    // Base words by instruction index; UnsupportedMarker() where the core has
    // no such instruction.
    std::array<std::uint32_t, kOpcodeCount> Opcodes;
    // The base word of a RET with a condition: the RET word on most cores.
    std::uint32_t ConditionalReturn;

    constexpr const TCoreDescription& Core() const { return CoreDescription(Kind); }
    // A word no instruction has: all the core's bits set.
    constexpr std::uint32_t UnsupportedMarker() const { return Core().WordMask(); }
};

// The encoding of a core; that of the first core for a kind of no core.
const TCoreEncoding& CoreEncoding(TCoreKind kind);

// Index of an instruction word (all upper or all lower case), or -1.
int InstructionIndexOf(std::string_view spelling);

// Condition values and interrupt options, as the symbol table holds them.
struct TPredefinedValue {
    std::string_view Name;
    int Value;
};
inline constexpr std::array<TPredefinedValue, 4> kConditionNames{
    {{"Z", 4}, {"NZ", 5}, {"C", 6}, {"NC", 7}}};
inline constexpr std::array<TPredefinedValue, 2> kInterruptOptionNames{
    {{"ENABLE", 1}, {"DISABLE", 0}}};

} // namespace korvo
