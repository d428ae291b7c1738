#include "assembler/instruction_set.h"

#include "assembler/keywords.h"
#include "assembler/symbol_table.h"

namespace korvo {

const std::array<TOperandFormat, kInstructionCount> FormatTable{
    fmtJump,    fmtCall,      fmtReturn,    fmtReturnI, fmtInterrupt,    fmtInterrupt,
    fmtShift,   fmtShift,     fmtShift,     fmtShift,   fmtShift,        fmtShift,
    fmtShift,   fmtShift,     fmtShift,     fmtShift,   fmtLogical,      fmtLogical,
    fmtLogical, fmtLogical,   fmtLogical,   fmtArith,   fmtArith,        fmtArith,
    fmtArith,   fmtArith,     fmtPort,      fmtPort,    fmtPort,         fmtPort,
    fmtInst,    fmtArith,     fmtLogical,   fmtLogical, fmtConstantPort, fmtLoadReturn,
    fmtShift,   fmtInterrupt, fmtInterrupt, fmtNone,
};

namespace {

constexpr std::string_view kNoFlags = "C, Z unchanged";
constexpr std::string_view kShiftFlags = "C: the bit shifted out; Z: set when the result is 0";
constexpr std::string_view kLogicalFlags = "C: cleared; Z: set when the result is 0";
constexpr std::string_view kCarryChain = "C: the carry out; Z: set when the result is 0 (on "
                                         "PicoBlaze 6 only when Z was set before)";

// In the order of MnemonicNames; every word has its text, the empty last
// entry none.
constexpr std::array<std::string_view, kInstructionCount> kFlagEffects{
    // JUMP, CALL, RET, RETI, EINT, DINT
    kNoFlags, kNoFlags, kNoFlags, "C, Z: restored to their values at the interrupt", kNoFlags,
    kNoFlags,
    // SR0, SR1, SRX, SRA, RR, SL0, SL1, SLX, SLA, RL
    kShiftFlags, kShiftFlags, kShiftFlags, kShiftFlags, kShiftFlags, kShiftFlags, kShiftFlags,
    kShiftFlags, kShiftFlags, kShiftFlags,
    // LOAD, AND, OR, XOR
    kNoFlags, kLogicalFlags, kLogicalFlags, kLogicalFlags,
    // TEST
    "C: the odd parity of sX AND the operand; Z: set when that AND is 0; sX unchanged",
    // ADD, ADDC, SUB, SUBC
    "C: the carry out; Z: set when the result is 0", kCarryChain,
    "C: the borrow; Z: set when the result is 0", kCarryChain,
    // COMP
    "C: set when sX is below the operand; Z: set when they are equal; sX unchanged",
    // IN, OUT, FETCH, STORE, INST
    kNoFlags, kNoFlags, kNoFlags, kNoFlags, kNoFlags,
    // COMPC
    "C: the borrow of sX - operand - C; Z: set when that is 0 and Z was set; sX unchanged",
    // TESTC
    "C: the odd parity of sX AND the operand, and C; Z: set when that AND is 0 and Z was set",
    // STAR, OUTK, RETL
    kNoFlags, kNoFlags, kNoFlags,
    // HWBUILD
    "C: set; Z: set when the value read is 0",
    // BANKA, BANKB, (empty entry)
    kNoFlags, kNoFlags, ""};

constexpr bool EveryWordHasFlagEffects() {
    for (int i = 0; i + 1 < kInstructionCount; ++i)
        if (kFlagEffects[static_cast<std::size_t>(i)].empty()) return false;
    return kFlagEffects.back().empty();
}
static_assert(EveryWordHasFlagEffects(), "one flag text per instruction word");

} // namespace

const std::array<std::string_view, kInstructionCount> FlagEffectTable = kFlagEffects;

namespace {

constexpr std::uint32_t NO = 0xFFFFFFFF; // the core has no such instruction

// The base words of one instruction: one column per core, in the order of
// kCores. A row that misses a core does not compile.
struct TOpcodeRow {
    template <typename... TWords>
    constexpr TOpcodeRow(TWords... words) : Words{static_cast<std::uint32_t>(words)...} {
        static_assert(sizeof...(words) == kCoreCount, "one base word per core");
    }
    std::array<std::uint32_t, kCoreCount> Words;
};

constexpr std::array<TOpcodeRow, kOpcodeCount> kOpcodeRows{{
    //  pbtI     pbtII    pbt3     pbtC    pbt6
    {0x8100, 0x34000, 0x34000, 0xD000, 0x22000}, // JUMP
    {0x8300, 0x36000, 0x30000, 0xD800, 0x20000}, // CALL
    {0x8080, 0x24000, 0x2A000, 0x9000, 0x25000}, // RET
    {0x80D0, 0x2C000, 0x38000, 0xF000, 0x29000}, // RETI
    {0x8030, 0x3C001, 0x3C001, 0xB000, 0x28001}, // EINT
    {0x8010, 0x3C000, 0x3C000, 0xB001, 0x28000}, // DINT
    {0xD00E, 0x2800E, 0x2000E, 0xA00E, 0x1400E}, // SR0
    {0xD00F, 0x2800F, 0x2000F, 0xA00F, 0x1400F}, // SR1
    {0xD00A, 0x2800A, 0x2000A, 0xA00A, 0x1400A}, // SRX
    {0xD008, 0x28008, 0x20008, 0xA008, 0x14008}, // SRA
    {0xD00C, 0x2800C, 0x2000C, 0xA00C, 0x1400C}, // RR
    {0xD006, 0x28006, 0x20006, 0xA006, 0x14006}, // SL0
    {0xD007, 0x28007, 0x20007, 0xA007, 0x14007}, // SL1
    {0xD004, 0x28004, 0x20004, 0xA004, 0x14004}, // SLX
    {0xD000, 0x28000, 0x20000, 0xA000, 0x14000}, // SLA
    {0xD002, 0x28002, 0x20002, 0xA002, 0x14002}, // RL
    {0xC000, 0x00000, 0x00000, 0x0000, 0x00000}, // LOAD
    {0xC001, 0x02000, 0x0A000, 0x0800, 0x02000}, // AND
    {0xC002, 0x04000, 0x0C000, 0x1000, 0x04000}, // OR
    {0xC003, 0x06000, 0x0E000, 0x1800, 0x06000}, // XOR
    {NO, NO, 0x12000, NO, 0x0C000},              // TEST
    {0xC004, 0x08000, 0x18000, 0x2000, 0x10000}, // ADD
    {0xC005, 0x0A000, 0x1A000, 0x2800, 0x12000}, // ADDC
    {0xC006, 0x0C000, 0x1C000, 0x3000, 0x18000}, // SUB
    {0xC007, 0x0E000, 0x1E000, 0x3800, 0x1A000}, // SUBC
    {NO, NO, 0x14000, NO, 0x1C000},              // COMP
    {0xA000, 0x20000, 0x04000, 0x8000, 0x08000}, // IN
    {0xE000, 0x22000, 0x2C000, 0x8800, 0x2C000}, // OUT
    {NO, NO, 0x06000, NO, 0x0A000},              // FETCH
    {NO, NO, 0x2E000, NO, 0x2E000},              // STORE
    {0x0000, 0x00000, 0x00000, 0x0000, 0x00000}, // INST
    {NO, NO, NO, NO, 0x1E000},                   // COMPC
    {NO, NO, NO, NO, 0x0E000},                   // TESTC
    {NO, NO, NO, NO, 0x16000},                   // STAR
    {NO, NO, NO, NO, 0x2B000},                   // OUTK
    {NO, NO, NO, NO, 0x21000},                   // RETL
    {NO, NO, NO, NO, 0x14080},                   // HWBUILD
    {NO, NO, NO, NO, 0x37000},                   // BANKA
    {NO, NO, NO, NO, 0x37001},                   // BANKB
    {NO, NO, NO, NO, NO},                        // (empty entry)
    {NO, NO, NO, NO, 0x26000},                   // JUMP (sX, sY)
    {NO, NO, NO, NO, 0x24000},                   // CALL (sX, sY)
}};

constexpr std::string_view kNoRegister = "Register|This processor core doesn't have register: ";
constexpr std::string_view kNoThisRegister =
    "Register|This processor core doesn't have this register: ";

// One row per core, in the order of kCores: register message, y shift, ALU
// register and constant forms, register ports with their register and
// constant forms, derived constant form, condition shift, RETI bits; the base
// words come from the core's column of kOpcodeRows, the conditional RET word
// from the RET row unless given.
constexpr std::array<TCoreEncoding, kCoreCount> MakeEncodings() {
    std::array<TCoreEncoding, kCoreCount> encodings{{
        {TCoreKind::pbtI, kNoRegister, 4, 0x0000, 0, true, 0x1000, 0, true, 10, 0x20, 0x00, {}, 0},
        {TCoreKind::pbtII,
         kNoThisRegister,
         3,
         0x10000,
         0,
         true,
         0x10000,
         0,
         false,
         10,
         0x01,
         0x00,
         {},
         0},
        {TCoreKind::pbt3,
         kNoThisRegister,
         4,
         0x1000,
         0,
         true,
         0x1000,
         0,
         false,
         10,
         0x01,
         0x00,
         {},
         0},
        // PicoBlaze CR: interrupts are enabled by the words with bit 0 clear.
        {TCoreKind::pbtC,
         kNoThisRegister,
         5,
         0x4000,
         0,
         false,
         0x0000,
         0,
         false,
         8,
         0x00,
         0x01,
         {},
         0},
        // PicoBlaze 6: bit 12 marks the constant forms; the condition takes
        // bits 16..14, and a RET with one starts from 21000, not 25000.
        {TCoreKind::pbt6,
         kNoThisRegister,
         4,
         0x0000,
         0x1000,
         true,
         0x0000,
         0x1000,
         false,
         14,
         0x01,
         0x00,
         {},
         0x21000},
    }};
    for (std::size_t core = 0; core < encodings.size(); ++core) {
        for (std::size_t i = 0; i < kOpcodeRows.size(); ++i) {
            std::uint32_t word = kOpcodeRows[i].Words[core];
            encodings[core].Opcodes[i] = word == NO ? encodings[core].UnsupportedMarker() : word;
        }
        if (encodings[core].ConditionalReturn == 0)
            encodings[core].ConditionalReturn = encodings[core].Opcodes[inRET];
    }
    return encodings;
}
constexpr std::array<TCoreEncoding, kCoreCount> kEncodings = MakeEncodings();

constexpr bool EncodingsFollowTheCores() {
    for (std::size_t i = 0; i < kEncodings.size(); ++i)
        if (kEncodings[i].Kind != kCores[i].Kind) return false;
    return true;
}
static_assert(EncodingsFollowTheCores(), "one encoding per core, in the order of kCores");

} // namespace

const TCoreEncoding& CoreEncoding(TCoreKind kind) {
    TCoreKind known = IsCoreKind(kind) ? kind : kDefaultCoreKind;
    return kEncodings[static_cast<std::size_t>(known) - 1];
}

int InstructionIndexOf(std::string_view spelling) {
    for (int i = 0; i < kInstructionCount - 1; ++i)
        if (SameTextIgnoringCase(KeywordSpelling(MnemonicNames[i]), spelling)) return i;
    return -1;
}

} // namespace korvo
