#pragma once

#include "common/core_kind.h"

#include <cstdint>
#include <span>

namespace korvo {

// What one instruction word does, in the form the executor runs. The four
// cores share these semantics; only their word layouts differ. Suffix K:
// the second operand is the constant (or port) field; suffix R: it is
// register sY. Conditional flow carries its condition in the operation.
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
};
inline constexpr int kOperationCount = static_cast<int>(TOp::InterruptEnable) + 1;

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

// The decode table and operand layout of a core.
struct TCoreDecoding {
    TCoreKind Kind;
    std::span<const TDecodeRule> Rules;
    TFieldLayout Fields;
};

// The decoding of a core; no rules (every word unsupported) for no core.
const TCoreDecoding& CoreDecoding(TCoreKind kind);

// Decodes a word that holds an instruction; Unsupported when no row matches.
TDecoded DecodeWord(const TCoreDecoding& decoding, std::uint32_t word);

} // namespace korvo
