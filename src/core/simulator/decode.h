#pragma once

#include "common/core_kind.h"

#include <cstdint>
#include <span>

namespace korvo {

// What one instruction word does, in the form the executor runs. The cores
// share these semantics; their word layouts differ, and PicoBlaze 6 adds
// operations of its own. Suffix K: the second operand is the constant (or
// port) field; suffix R: it is register sY. Conditional flow carries its
// condition in the operation.
enum class TOp : std::uint8_t {
    NoCode, // the entry holds no instruction
    Unsupported,
    LoadK,
    LoadR,
    AndK,
    AndR,
    OrK,
    OrR,
    XorK,
    XorR,
    TestK,
    TestR,
    CompK,
    CompR,
    AddK,
    AddR,
    AddcK,
    AddcR,
    SubK,
    SubR,
    SubcK,
    SubcR,
    Sla,
    Rl,
    Slx,
    Sl0,
    Sl1,
    Sra,
    Srx,
    Rr,
    Sr0,
    Sr1,
    InK,
    InR,
    OutK,
    OutR,
    FetchK,
    FetchR,
    StoreK,
    StoreR,
    Jump,
    JumpZ,
    JumpNZ,
    JumpC,
    JumpNC,
    Call,
    CallZ,
    CallNZ,
    CallC,
    CallNC,
    Ret,
    RetZ,
    RetNZ,
    RetC,
    RetNC,
    RetiDisable,
    RetiEnable,
    InterruptDisable,
    InterruptEnable,
    // PicoBlaze 6. ADDC, SUBC, COMPC and TESTC chain the zero flag: it stays
    // set only when it was set and the result is 0.
    AddcChainK,
    AddcChainR,
    SubcChainK,
    SubcChainR,
    CompcK,
    CompcR,
    TestcK, // the carry is the parity of the result xor the old carry
    TestcR,
    StarK, // sX of the other bank := kk or sY of the active bank
    StarR,
    Hwbuild,       // sX := the HWBUILD value; carry set
    OutConstant,   // constant port (bits 3..0) := kk (bits 11..4)
    JumpRegisters, // to the low nibble of sX and the eight bits of sY
    CallRegisters,
    LoadReturn, // sX := kk, then RET
    BankA,
    BankB,
};
inline constexpr int kOperationCount = static_cast<int>(TOp::BankB) + 1;

// A pre-decoded code-image entry; eight bytes, so that the run loop finds
// one with a scaled index.
struct alignas(8) TDecoded {
    TOp Op = TOp::NoCode;
    std::uint8_t X = 0; // register sX
    std::uint8_t Y = 0; // register sY
    bool Executed = false;
    std::uint16_t K = 0; // constant, port or scratch pad address, or jump target
};

// One row of a core's decode table: a word w is this instruction when
// (w & Mask) == Value. Rows are tried from the top.
struct TDecodeRule {
    std::uint32_t Mask;
    std::uint32_t Value;
    TOp Op;
};

// Where a core keeps its operand fields.
struct TFieldLayout {
    int XShift;
    std::uint32_t XMask;
    int YShift;
    std::uint32_t YMask;
    std::uint32_t TargetMask; // JUMP and CALL address
};

// Where the cores differ in what the same operations do.
struct TCoreBehaviour {
    // CALL pushes its own address and RET continues after the popped one;
    // every push also keeps the zero and carry flags and the bank, which RETI
    // restores from the entry it pops. Otherwise CALL pushes the next
    // address, RET continues at the popped one and RETI restores the flags
    // an interrupt saved.
    bool StackKeepsCallSite;
    // A reset leaves the registers as they are.
    bool ResetKeepsRegisters;
};

// The decode table, operand layout and behaviour of a core.
struct TCoreDecoding {
    TCoreKind Kind;
    std::span<const TDecodeRule> Rules;
    TFieldLayout Fields;
    TCoreBehaviour Behaviour;
};

// The decoding of a core; no rules (every word unsupported) for no core.
const TCoreDecoding& CoreDecoding(TCoreKind kind);

// Decodes a word that holds an instruction; Unsupported when no row matches.
TDecoded DecodeWord(const TCoreDecoding& decoding, std::uint32_t word);

} // namespace korvo
