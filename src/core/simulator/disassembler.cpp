#include "simulator/disassembler.h"

#include "assembler/instruction_set.h"
#include "assembler/keywords.h"
#include "common/hex_text.h"
#include "simulator/decode.h"

#include <array>

namespace korvo {

namespace {

// How the operands of an operation are written.
enum class TOperands : std::uint8_t {
    None,          // EINT
    Register,      // SR0 sX
    RegisterK,     // LOAD sX, $kk
    RegisterY,     // LOAD sX, sY
    RegisterPortY, // IN sX, (sY)
    Target,        // JUMP $aaa
    Condition,     // RET Z
    ConditionTarget,
    Interrupt,    // RETI ENABLE
    RegisterPair, // JUMP (sX, sY)
    ConstantPort, // OUTK $kk, $p
};

struct TSpelling {
    TInstructionIndex Mnemonic;
    TOperands Operands;
    int Value; // the condition or interrupt option, as the symbol table holds it
};

// Indexed by TOp.
constexpr std::array<TSpelling, kOperationCount> kSpellings{{
    {inEmpty, TOperands::None, 0}, // NoCode
    {inINST, TOperands::None, 0},  // Unsupported
    {inLOAD, TOperands::RegisterK, 0},
    {inLOAD, TOperands::RegisterY, 0},
    {inAND, TOperands::RegisterK, 0},
    {inAND, TOperands::RegisterY, 0},
    {inOR, TOperands::RegisterK, 0},
    {inOR, TOperands::RegisterY, 0},
    {inXOR, TOperands::RegisterK, 0},
    {inXOR, TOperands::RegisterY, 0},
    {inTEST, TOperands::RegisterK, 0},
    {inTEST, TOperands::RegisterY, 0},
    {inCOMP, TOperands::RegisterK, 0},
    {inCOMP, TOperands::RegisterY, 0},
    {inADD, TOperands::RegisterK, 0},
    {inADD, TOperands::RegisterY, 0},
    {inADDC, TOperands::RegisterK, 0},
    {inADDC, TOperands::RegisterY, 0},
    {inSUB, TOperands::RegisterK, 0},
    {inSUB, TOperands::RegisterY, 0},
    {inSUBC, TOperands::RegisterK, 0},
    {inSUBC, TOperands::RegisterY, 0},
    {inSLA, TOperands::Register, 0},
    {inRL, TOperands::Register, 0},
    {inSLX, TOperands::Register, 0},
    {inSL0, TOperands::Register, 0},
    {inSL1, TOperands::Register, 0},
    {inSRA, TOperands::Register, 0},
    {inSRX, TOperands::Register, 0},
    {inRR, TOperands::Register, 0},
    {inSR0, TOperands::Register, 0},
    {inSR1, TOperands::Register, 0},
    {inIN, TOperands::RegisterK, 0},
    {inIN, TOperands::RegisterPortY, 0},
    {inOUT, TOperands::RegisterK, 0},
    {inOUT, TOperands::RegisterPortY, 0},
    {inFETCH, TOperands::RegisterK, 0},
    {inFETCH, TOperands::RegisterPortY, 0},
    {inSTORE, TOperands::RegisterK, 0},
    {inSTORE, TOperands::RegisterPortY, 0},
    {inJUMP, TOperands::Target, 0},
    {inJUMP, TOperands::ConditionTarget, 4},
    {inJUMP, TOperands::ConditionTarget, 5},
    {inJUMP, TOperands::ConditionTarget, 6},
    {inJUMP, TOperands::ConditionTarget, 7},
    {inCALL, TOperands::Target, 0},
    {inCALL, TOperands::ConditionTarget, 4},
    {inCALL, TOperands::ConditionTarget, 5},
    {inCALL, TOperands::ConditionTarget, 6},
    {inCALL, TOperands::ConditionTarget, 7},
    {inRET, TOperands::None, 0},
    {inRET, TOperands::Condition, 4},
    {inRET, TOperands::Condition, 5},
    {inRET, TOperands::Condition, 6},
    {inRET, TOperands::Condition, 7},
    {inRETI, TOperands::Interrupt, 0},
    {inRETI, TOperands::Interrupt, 1},
    {inDINT, TOperands::None, 0},
    {inEINT, TOperands::None, 0},
    {inADDC, TOperands::RegisterK, 0},
    {inADDC, TOperands::RegisterY, 0},
    {inSUBC, TOperands::RegisterK, 0},
    {inSUBC, TOperands::RegisterY, 0},
    {inCOMPC, TOperands::RegisterK, 0},
    {inCOMPC, TOperands::RegisterY, 0},
    {inTESTC, TOperands::RegisterK, 0},
    {inTESTC, TOperands::RegisterY, 0},
    {inSTAR, TOperands::RegisterK, 0},
    {inSTAR, TOperands::RegisterY, 0},
    {inHWBUILD, TOperands::Register, 0},
    {inOUTK, TOperands::ConstantPort, 0},
    {inJUMP, TOperands::RegisterPair, 0},
    {inCALL, TOperands::RegisterPair, 0},
    {inRETL, TOperands::RegisterK, 0},
    {inBANKA, TOperands::None, 0},
    {inBANKB, TOperands::None, 0},
}};
// Every operation has its spelling; a new one must be added here.
static_assert(kSpellings[static_cast<std::size_t>(TOp::BankB)].Mnemonic == inBANKB);

template <std::size_t N>
std::string_view NameOf(const std::array<TPredefinedValue, N>& names, int value) {
    for (const auto& name : names)
        if (name.Value == value) return name.Name;
    return {};
}

std::string RegisterName(TCoreKind kind, int number) {
    return "s" + HexText(number, CoreDescription(kind).RegisterDigits);
}

} // namespace

std::string Disassemble(TCoreKind kind, std::uint32_t word) {
    const TCoreDescription& core = CoreDescription(kind);
    TDecoded decoded = DecodeWord(CoreDecoding(kind), word);
    const TSpelling& spelling = kSpellings[static_cast<std::size_t>(decoded.Op)];
    std::string text(KeywordSpelling(MnemonicNames[spelling.Mnemonic]));
    if (decoded.Op == TOp::Unsupported) return text + " $" + HexText(word, core.WordDigits());
    std::string x = RegisterName(kind, decoded.X);
    std::string target = "$" + HexText(decoded.K, core.AddressDigits());
    std::string_view condition = NameOf(kConditionNames, spelling.Value);
    switch (spelling.Operands) {
    case TOperands::None: return text;
    case TOperands::Register: return text + " " + x;
    case TOperands::RegisterK: return text + " " + x + ", $" + HexText(decoded.K, 2);
    case TOperands::RegisterY: return text + " " + x + ", " + RegisterName(kind, decoded.Y);
    case TOperands::RegisterPortY:
        return text + " " + x + ", (" + RegisterName(kind, decoded.Y) + ")";
    case TOperands::Target: return text + " " + target;
    case TOperands::Condition: return text + " " + std::string(condition);
    case TOperands::ConditionTarget: return text + " " + std::string(condition) + ", " + target;
    case TOperands::Interrupt:
        return text + " " + std::string(NameOf(kInterruptOptionNames, spelling.Value));
    case TOperands::RegisterPair:
        return text + " (" + x + ", " + RegisterName(kind, decoded.Y) + ")";
    case TOperands::ConstantPort:
        // The constant fills the fields of sX and sY, the port the low nibble.
        return text + " $" + HexText(decoded.X << 4 | decoded.Y, 2) + ", $" +
               HexText(decoded.K & 0xF, 1);
    }
    return text;
}

} // namespace korvo
