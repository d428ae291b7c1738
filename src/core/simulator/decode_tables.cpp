// The instruction words of the cores, one decode table each. A word is
// the instruction of the first row whose masked bits match; a word that no
// row matches is unsupported. Condition codes sit in the flow rows: 4 Z,
// 5 NZ, 6 C, 7 NC; the values 1 to 3 have no row and so are unsupported.
#include "simulator/decode.h"

#include <array>

namespace korvo {

namespace {

using enum TOp;

// PicoBlaze I: 16-bit words, 256 addresses, sX 11..8, sY 7..4.
constexpr TDecodeRule kPicoBlazeIRules[] = {
    // ALU with a constant: operation in bits 15..12.
    {0xF000, 0x0000, LoadK},
    {0xF000, 0x1000, AndK},
    {0xF000, 0x2000, OrK},
    {0xF000, 0x3000, XorK},
    {0xF000, 0x4000, AddK},
    {0xF000, 0x5000, AddcK},
    {0xF000, 0x6000, SubK},
    {0xF000, 0x7000, SubcK},
    // ALU with register sY: operation in bits 3..0; 8 to F have no row.
    {0xF00F, 0xC000, LoadR},
    {0xF00F, 0xC001, AndR},
    {0xF00F, 0xC002, OrR},
    {0xF00F, 0xC003, XorR},
    {0xF00F, 0xC004, AddR},
    {0xF00F, 0xC005, AddcR},
    {0xF00F, 0xC006, SubR},
    {0xF00F, 0xC007, SubcR},
    // Shift and rotate: sub-code in bits 3..0.
    {0xF00F, 0xD000, Sla},
    {0xF00F, 0xD002, Rl},
    {0xF00F, 0xD004, Slx},
    {0xF00F, 0xD006, Sl0},
    {0xF00F, 0xD007, Sl1},
    {0xF00F, 0xD008, Sra},
    {0xF00F, 0xD00A, Srx},
    {0xF00F, 0xD00C, Rr},
    {0xF00F, 0xD00E, Sr0},
    {0xF00F, 0xD00F, Sr1},
    // IN and OUT: bit 12 selects the port from register sY.
    {0xF000, 0xA000, InK},
    {0xF000, 0xB000, InR},
    {0xF000, 0xE000, OutK},
    {0xF000, 0xF000, OutR},
    // Interrupt words.
    {0xFFFF, 0x8010, InterruptDisable},
    {0xFFFF, 0x8030, InterruptEnable},
    {0xFFFF, 0x80D0, RetiDisable},
    {0xFFFF, 0x80F0, RetiEnable},
    // RET: condition in bits 12..10, low byte 80.
    {0xFFFF, 0x8080, Ret},
    {0xFFFF, 0x9080, RetZ},
    {0xFFFF, 0x9480, RetNZ},
    {0xFFFF, 0x9880, RetC},
    {0xFFFF, 0x9C80, RetNC},
    // JUMP and CALL: condition in bits 12..10, target in bits 7..0.
    {0xFF00, 0x8100, Jump},
    {0xFF00, 0x9100, JumpZ},
    {0xFF00, 0x9500, JumpNZ},
    {0xFF00, 0x9900, JumpC},
    {0xFF00, 0x9D00, JumpNC},
    {0xFF00, 0x8300, Call},
    {0xFF00, 0x9300, CallZ},
    {0xFF00, 0x9700, CallNZ},
    {0xFF00, 0x9B00, CallC},
    {0xFF00, 0x9F00, CallNC},
};

// PicoBlaze II: 18-bit words, opcode in bits 17..13 (bit 16 selects
// register sY for ALU, IN and OUT), sX 12..8, sY 7..3.
constexpr TDecodeRule kPicoBlazeIIRules[] = {
    {0x3E000, 0x00000, LoadK},
    {0x3E000, 0x02000, AndK},
    {0x3E000, 0x04000, OrK},
    {0x3E000, 0x06000, XorK},
    {0x3E000, 0x08000, AddK},
    {0x3E000, 0x0A000, AddcK},
    {0x3E000, 0x0C000, SubK},
    {0x3E000, 0x0E000, SubcK},
    {0x3E000, 0x10000, LoadR},
    {0x3E000, 0x12000, AndR},
    {0x3E000, 0x14000, OrR},
    {0x3E000, 0x16000, XorR},
    {0x3E000, 0x18000, AddR},
    {0x3E000, 0x1A000, AddcR},
    {0x3E000, 0x1C000, SubR},
    {0x3E000, 0x1E000, SubcR},
    {0x3E000, 0x20000, InK},
    {0x3E000, 0x22000, OutK},
    {0x3E000, 0x30000, InR},
    {0x3E000, 0x32000, OutR},
    {0x3FC00, 0x24000, Ret},
    {0x3FC00, 0x25000, RetZ},
    {0x3FC00, 0x25400, RetNZ},
    {0x3FC00, 0x25800, RetC},
    {0x3FC00, 0x25C00, RetNC},
    {0x3E00F, 0x28000, Sla},
    {0x3E00F, 0x28002, Rl},
    {0x3E00F, 0x28004, Slx},
    {0x3E00F, 0x28006, Sl0},
    {0x3E00F, 0x28007, Sl1},
    {0x3E00F, 0x28008, Sra},
    {0x3E00F, 0x2800A, Srx},
    {0x3E00F, 0x2800C, Rr},
    {0x3E00F, 0x2800E, Sr0},
    {0x3E00F, 0x2800F, Sr1},
    {0x3E00F, 0x2C000, RetiDisable},
    {0x3E00F, 0x2C001, RetiEnable},
    {0x3FC00, 0x34000, Jump},
    {0x3FC00, 0x35000, JumpZ},
    {0x3FC00, 0x35400, JumpNZ},
    {0x3FC00, 0x35800, JumpC},
    {0x3FC00, 0x35C00, JumpNC},
    {0x3FC00, 0x36000, Call},
    {0x3FC00, 0x37000, CallZ},
    {0x3FC00, 0x37400, CallNZ},
    {0x3FC00, 0x37800, CallC},
    {0x3FC00, 0x37C00, CallNC},
    {0x3E00F, 0x3C000, InterruptDisable},
    {0x3E00F, 0x3C001, InterruptEnable},
};

// PicoBlaze 3: 18-bit words, opcode in bits 17..12 (bit 12 selects register
// sY), sX 11..8, sY 7..4, condition 12..10, sub-code 3..0.
constexpr TDecodeRule kPicoBlaze3Rules[] = {
    {0x3F000, 0x00000, LoadK},
    {0x3F000, 0x01000, LoadR},
    {0x3F000, 0x04000, InK},
    {0x3F000, 0x05000, InR},
    {0x3F000, 0x06000, FetchK},
    {0x3F000, 0x07000, FetchR},
    {0x3F000, 0x0A000, AndK},
    {0x3F000, 0x0B000, AndR},
    {0x3F000, 0x0C000, OrK},
    {0x3F000, 0x0D000, OrR},
    {0x3F000, 0x0E000, XorK},
    {0x3F000, 0x0F000, XorR},
    {0x3F000, 0x12000, TestK},
    {0x3F000, 0x13000, TestR},
    {0x3F000, 0x14000, CompK},
    {0x3F000, 0x15000, CompR},
    {0x3F000, 0x18000, AddK},
    {0x3F000, 0x19000, AddR},
    {0x3F000, 0x1A000, AddcK},
    {0x3F000, 0x1B000, AddcR},
    {0x3F000, 0x1C000, SubK},
    {0x3F000, 0x1D000, SubR},
    {0x3F000, 0x1E000, SubcK},
    {0x3F000, 0x1F000, SubcR},
    {0x3F00F, 0x20000, Sla},
    {0x3F00F, 0x20002, Rl},
    {0x3F00F, 0x20004, Slx},
    {0x3F00F, 0x20006, Sl0},
    {0x3F00F, 0x20007, Sl1},
    {0x3F00F, 0x20008, Sra},
    {0x3F00F, 0x2000A, Srx},
    {0x3F00F, 0x2000C, Rr},
    {0x3F00F, 0x2000E, Sr0},
    {0x3F00F, 0x2000F, Sr1},
    {0x3FC00, 0x2A000, Ret},
    {0x3FC00, 0x2B000, RetZ},
    {0x3FC00, 0x2B400, RetNZ},
    {0x3FC00, 0x2B800, RetC},
    {0x3FC00, 0x2BC00, RetNC},
    {0x3F000, 0x2C000, OutK},
    {0x3F000, 0x2D000, OutR},
    {0x3F000, 0x2E000, StoreK},
    {0x3F000, 0x2F000, StoreR},
    {0x3FC00, 0x30000, Call},
    {0x3FC00, 0x31000, CallZ},
    {0x3FC00, 0x31400, CallNZ},
    {0x3FC00, 0x31800, CallC},
    {0x3FC00, 0x31C00, CallNC},
    {0x3FC00, 0x34000, Jump},
    {0x3FC00, 0x35000, JumpZ},
    {0x3FC00, 0x35400, JumpNZ},
    {0x3FC00, 0x35800, JumpC},
    {0x3FC00, 0x35C00, JumpNC},
    {0x3F00F, 0x38000, RetiDisable},
    {0x3F00F, 0x38001, RetiEnable},
    {0x3F00F, 0x3C000, InterruptDisable},
    {0x3F00F, 0x3C001, InterruptEnable},
};

// PicoBlaze CR: 16-bit words, opcode in bits 15..11 (bit 14 selects register
// sY), sX 10..8, sY 7..5, condition 10..8. Only the constant-port forms of
// IN and OUT exist. The interrupt words enable on bit 0 clear, as the
// assembler encodes them: EINT B000, DINT B001, RETI ENABLE F000.
constexpr TDecodeRule kPicoBlazeCRules[] = {
    {0xF800, 0x0000, LoadK},
    {0xF800, 0x0800, AndK},
    {0xF800, 0x1000, OrK},
    {0xF800, 0x1800, XorK},
    {0xF800, 0x2000, AddK},
    {0xF800, 0x2800, AddcK},
    {0xF800, 0x3000, SubK},
    {0xF800, 0x3800, SubcK},
    {0xF800, 0x4000, LoadR},
    {0xF800, 0x4800, AndR},
    {0xF800, 0x5000, OrR},
    {0xF800, 0x5800, XorR},
    {0xF800, 0x6000, AddR},
    {0xF800, 0x6800, AddcR},
    {0xF800, 0x7000, SubR},
    {0xF800, 0x7800, SubcR},
    {0xF800, 0x8000, InK},
    {0xF800, 0x8800, OutK},
    {0xFF00, 0x9000, Ret},
    {0xFF00, 0x9400, RetZ},
    {0xFF00, 0x9500, RetNZ},
    {0xFF00, 0x9600, RetC},
    {0xFF00, 0x9700, RetNC},
    {0xF80F, 0xA000, Sla},
    {0xF80F, 0xA002, Rl},
    {0xF80F, 0xA004, Slx},
    {0xF80F, 0xA006, Sl0},
    {0xF80F, 0xA007, Sl1},
    {0xF80F, 0xA008, Sra},
    {0xF80F, 0xA00A, Srx},
    {0xF80F, 0xA00C, Rr},
    {0xF80F, 0xA00E, Sr0},
    {0xF80F, 0xA00F, Sr1},
    {0xF80F, 0xB000, InterruptEnable},
    {0xF80F, 0xB001, InterruptDisable},
    {0xFF00, 0xD000, Jump},
    {0xFF00, 0xD400, JumpZ},
    {0xFF00, 0xD500, JumpNZ},
    {0xFF00, 0xD600, JumpC},
    {0xFF00, 0xD700, JumpNC},
    {0xFF00, 0xD800, Call},
    {0xFF00, 0xDC00, CallZ},
    {0xFF00, 0xDD00, CallNZ},
    {0xFF00, 0xDE00, CallC},
    {0xFF00, 0xDF00, CallNC},
    {0xF80F, 0xF000, RetiEnable},
    {0xF80F, 0xF001, RetiDisable},
};

// PicoBlaze 6: 18-bit words, opcode in bits 17..12 (bit 12 clear selects
// register sY, set the constant), sX 11..8, sY 7..4, address 11..0. Flow
// words carry the condition in bits 16..14. Every bit a word does not use
// must be 0, so the register forms and the fixed words match whole.
constexpr TDecodeRule kPicoBlaze6Rules[] = {
    {0x3F00F, 0x00000, LoadR},
    {0x3F000, 0x01000, LoadK},
    {0x3F00F, 0x02000, AndR},
    {0x3F000, 0x03000, AndK},
    {0x3F00F, 0x04000, OrR},
    {0x3F000, 0x05000, OrK},
    {0x3F00F, 0x06000, XorR},
    {0x3F000, 0x07000, XorK},
    {0x3F00F, 0x08000, InR},
    {0x3F000, 0x09000, InK},
    {0x3F00F, 0x0A000, FetchR},
    {0x3F000, 0x0B000, FetchK},
    {0x3F00F, 0x0C000, TestR},
    {0x3F000, 0x0D000, TestK},
    {0x3F00F, 0x0E000, TestcR},
    {0x3F000, 0x0F000, TestcK},
    {0x3F00F, 0x10000, AddR},
    {0x3F000, 0x11000, AddK},
    {0x3F00F, 0x12000, AddcChainR},
    {0x3F000, 0x13000, AddcChainK},
    {0x3F0FF, 0x14000, Sla},
    {0x3F0FF, 0x14002, Rl},
    {0x3F0FF, 0x14004, Slx},
    {0x3F0FF, 0x14006, Sl0},
    {0x3F0FF, 0x14007, Sl1},
    {0x3F0FF, 0x14008, Sra},
    {0x3F0FF, 0x1400A, Srx},
    {0x3F0FF, 0x1400C, Rr},
    {0x3F0FF, 0x1400E, Sr0},
    {0x3F0FF, 0x1400F, Sr1},
    {0x3F0FF, 0x14080, Hwbuild},
    {0x3F00F, 0x16000, StarR},
    {0x3F000, 0x17000, StarK},
    {0x3F00F, 0x18000, SubR},
    {0x3F000, 0x19000, SubK},
    {0x3F00F, 0x1A000, SubcChainR},
    {0x3F000, 0x1B000, SubcChainK},
    {0x3F00F, 0x1C000, CompR},
    {0x3F000, 0x1D000, CompK},
    {0x3F00F, 0x1E000, CompcR},
    {0x3F000, 0x1F000, CompcK},
    {0x3F000, 0x20000, Call},
    {0x3F000, 0x21000, LoadReturn},
    {0x3F000, 0x22000, Jump},
    {0x3F00F, 0x24000, CallRegisters},
    {0x3FFFF, 0x25000, Ret},
    {0x3F00F, 0x26000, JumpRegisters},
    {0x3FFFF, 0x28000, InterruptDisable},
    {0x3FFFF, 0x28001, InterruptEnable},
    {0x3FFFF, 0x29000, RetiDisable},
    {0x3FFFF, 0x29001, RetiEnable},
    {0x3F000, 0x2B000, OutConstant},
    {0x3F00F, 0x2C000, OutR},
    {0x3F000, 0x2D000, OutK},
    {0x3F00F, 0x2E000, StoreR},
    {0x3F000, 0x2F000, StoreK},
    {0x3F000, 0x30000, CallZ},
    {0x3FFFF, 0x31000, RetZ},
    {0x3F000, 0x32000, JumpZ},
    {0x3F000, 0x34000, CallNZ},
    {0x3FFFF, 0x35000, RetNZ},
    {0x3F000, 0x36000, JumpNZ},
    {0x3FFFF, 0x37000, BankA},
    {0x3FFFF, 0x37001, BankB},
    {0x3F000, 0x38000, CallC},
    {0x3FFFF, 0x39000, RetC},
    {0x3F000, 0x3A000, JumpC},
    {0x3F000, 0x3C000, CallNC},
    {0x3FFFF, 0x3D000, RetNC},
    {0x3F000, 0x3E000, JumpNC},
};

constexpr TCoreBehaviour kFamily{false, false};

// One entry per row of kCoreTable, in its order.
constexpr std::array<TCoreDecoding, kCoreTable.size()> kDecodings{{
    {TCoreKind::none, {}, {8, 0xF, 4, 0xF, 0xFF}, kFamily},
    {TCoreKind::pbtI, kPicoBlazeIRules, {8, 0xF, 4, 0xF, 0xFF}, kFamily},
    {TCoreKind::pbtII, kPicoBlazeIIRules, {8, 0x1F, 3, 0x1F, 0x3FF}, kFamily},
    {TCoreKind::pbt3, kPicoBlaze3Rules, {8, 0xF, 4, 0xF, 0x3FF}, kFamily},
    {TCoreKind::pbtC, kPicoBlazeCRules, {8, 0x7, 5, 0x7, 0xFF}, kFamily},
    {TCoreKind::pbt6, kPicoBlaze6Rules, {8, 0xF, 4, 0xF, 0xFFF}, {true, true}},
}};

constexpr bool DecodingsFollowTheCores() {
    for (std::size_t i = 0; i < kDecodings.size(); ++i)
        if (kDecodings[i].Kind != kCoreTable[i].Kind) return false;
    return true;
}
static_assert(DecodingsFollowTheCores(), "one decoding per core, in the order of kCoreTable");

bool IsJumpOrCall(TOp op) {
    return op >= Jump && op <= CallNC;
}

} // namespace

const TCoreDecoding& CoreDecoding(TCoreKind kind) {
    return kDecodings[static_cast<std::size_t>(CoreDescription(kind).Kind)];
}

TDecoded DecodeWord(const TCoreDecoding& decoding, std::uint32_t word) {
    TDecoded decoded;
    decoded.Op = Unsupported;
    for (const auto& rule : decoding.Rules) {
        if ((word & rule.Mask) == rule.Value) {
            decoded.Op = rule.Op;
            break;
        }
    }
    const auto& fields = decoding.Fields;
    decoded.X = static_cast<std::uint8_t>((word >> fields.XShift) & fields.XMask);
    decoded.Y = static_cast<std::uint8_t>((word >> fields.YShift) & fields.YMask);
    decoded.K = static_cast<std::uint16_t>(IsJumpOrCall(decoded.Op) ? word & fields.TargetMask
                                                                    : word & 0xFF);
    return decoded;
}

} // namespace korvo
