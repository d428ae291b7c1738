#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvo {

// The processor core a document is written for. The numbers are stored in
// settings and written into output files, so they must not change.
enum class TCoreKind : std::uint8_t { none = 0, pbtI = 1, pbtII = 2, pbt3 = 3, pbtC = 4, pbt6 = 5 };

// Everything the program knows about one core apart from its instruction
// words (the opcode table in assembler/instruction_set.cpp and the decode
// table in simulator/decode_tables.cpp). Every layer reads these facts here;
// the desktop program keeps its menu commands in ide/shell/commands.
struct TCoreDescription {
    TCoreKind Kind;

    // Names.
    std::string_view Name;        // "pbtI": the {pico} of VHDL templates
    std::string_view CommandName; // "I": the --core value of the command line
    std::string_view Title;       // "Picoblaze I": the core in messages and menus
    std::string_view ModeCaption; // "Picoblaze-I": "Mode: ..." in messages and the status bar

    // The machine.
    int WordBits;          // instruction word width
    int CodeSize;          // words of code space (the largest program size)
    int SmallestCodeSize;  // the smallest program size; sizes double up to CodeSize
    int InterruptVector;   // where an interrupt enters the program (by default)
    int RegisterCount;     // registers the core has (in each bank)
    int RegisterBanks;     // banks of RegisterCount registers
    int RegisterNameCount; // register names the assembler knows (S0..SF, S00..S1F)
    int RegisterDigits;    // hex digits in a register name
    int StackDepth;        // return stack entries
    bool HasScratchPad;    // FETCH and STORE reach a scratch pad
    // The program size, interrupt vector, HWBUILD value and scratch pad size
    // are choices of the hardware build that the settings hold (TCoreOptions).
    bool HasBuildOptions;

    // Output files.
    int CoeDefaultWidth;     // bits per COE item when the directive names none
    bool CoeWidthSelectable; // the COE directive may ask for 8 or 16 bits
    // VHDL templates of block RAMs up to 4K words: INIT rows up to 7F, INITP
    // rows up to 0F and the rows of the 9-bit halves, [8:0] and [17:9].
    bool LargeRomTemplates;

    // The JTAG target the settings dialog proposes while none is stored.
    std::string_view PresetChip;
    std::string_view PresetIRLength;

    constexpr std::uint32_t WordMask() const { return (std::uint32_t{1} << WordBits) - 1; }
    constexpr int MaxCodeAddress() const { return CodeSize - 1; }
    // Hex digits that show any instruction word or code address.
    constexpr int WordDigits() const { return (WordBits + 3) / 4; }
    constexpr int AddressDigits() const {
        return (std::bit_width(static_cast<unsigned>(std::max(CodeSize - 1, 1))) + 3) / 4;
    }
};

// One row per kind, in the order of the kind's number; row 0 stands for no
// core (no code space, no registers). The columns follow TCoreDescription:
// names; word bits, code size, smallest code size, interrupt vector,
// registers, banks, register names, name digits, stack depth, scratch pad,
// build options; COE width, selectable COE width, large ROM templates; JTAG
// preset.
// clang-format off
inline constexpr std::array<TCoreDescription, 6> kCoreTable{{
    {TCoreKind::none, "none", "", "", "",
     16, 0, 0, 0, 0, 1, 0, 1, 0, false, false,
     8, false, false, "", ""},
    {TCoreKind::pbtI, "pbtI", "I", "Picoblaze I", "Picoblaze-I",
     16, 256, 256, 255, 16, 1, 16, 1, 16, false, false,
     8, true, false, "Spartan-II", "5"},
    {TCoreKind::pbtII, "pbtII", "II", "Picoblaze II", "Picoblaze-II",
     18, 1024, 1024, 1023, 32, 1, 32, 2, 32, false, false,
     18, false, false, "Vitex-II", "6"},
    {TCoreKind::pbt3, "pbt3", "3", "Picoblaze 3", "Picoblaze-3",
     18, 1024, 1024, 1023, 16, 1, 16, 1, 32, true, false,
     8, false, false, "Spartan-3", "6"},
    {TCoreKind::pbtC, "pbtC", "CR", "Picoblaze CR", "Picoblaze-CR",
     16, 256, 256, 255, 8, 1, 16, 1, 4, false, false,
     8, true, false, "CoolRunner-II", "8"},
    {TCoreKind::pbt6, "pbt6", "6", "Picoblaze 6", "Picoblaze-6",
     18, 4096, 1024, 0x3FF, 16, 2, 16, 1, 30, true, true,
     18, false, true, "Spartan-6", "6"},
}};
// clang-format on

// The real cores, without row 0.
inline constexpr std::span<const TCoreDescription> kCores{kCoreTable.data() + 1,
                                                          kCoreTable.size() - 1};
inline constexpr int kCoreCount = static_cast<int>(kCores.size());

namespace core_table_detail {
constexpr bool RowsInKindOrder() {
    for (std::size_t i = 0; i < kCoreTable.size(); ++i)
        if (static_cast<std::size_t>(kCoreTable[i].Kind) != i) return false;
    return true;
}
// Catches a row whose values slid into the neighbouring columns.
constexpr bool RowsWellFormed() {
    for (std::size_t i = 1; i < kCoreTable.size(); ++i) {
        const auto& core = kCoreTable[i];
        if (core.PresetChip.empty() || core.PresetIRLength.empty() || core.ModeCaption.empty() ||
            core.SmallestCodeSize > core.CodeSize || core.InterruptVector >= core.CodeSize ||
            core.RegisterBanks < 1 || core.RegisterNameCount < core.RegisterCount)
            return false;
    }
    return true;
}
template <int TCoreDescription::*Field>
constexpr int Largest() {
    int largest = 0;
    for (const auto& core : kCoreTable)
        largest = std::max(largest, core.*Field);
    return largest;
}
} // namespace core_table_detail
static_assert(core_table_detail::RowsInKindOrder(), "kCoreTable rows must follow the kinds");
static_assert(core_table_detail::RowsWellFormed(),
              "a kCoreTable row has a value in the wrong column");

// The largest figures of any core: the sizes of arrays that serve every core.
inline constexpr int kMaxCodeSize = core_table_detail::Largest<&TCoreDescription::CodeSize>();
inline constexpr int kMaxRegisterCount =
    core_table_detail::Largest<&TCoreDescription::RegisterCount>();
inline constexpr int kMaxRegisterNameCount =
    core_table_detail::Largest<&TCoreDescription::RegisterNameCount>();
inline constexpr int kMaxStackDepth = core_table_detail::Largest<&TCoreDescription::StackDepth>();

// True for the kinds of real cores.
constexpr bool IsCoreKind(TCoreKind kind) {
    auto number = static_cast<int>(kind);
    return number >= 1 && number <= kCoreCount;
}

// The description of a kind; row 0 (no core) for anything else.
constexpr const TCoreDescription& CoreDescription(TCoreKind kind) {
    return IsCoreKind(kind) ? kCoreTable[static_cast<std::size_t>(kind)] : kCoreTable[0];
}

// The first core: what a missing or unknown kind falls back to.
inline constexpr TCoreKind kDefaultCoreKind = kCores.front().Kind;

// The kind with this number; nothing for a number of no core.
std::optional<TCoreKind> CoreKindFromNumber(int number);

// Parses a core name as the command line takes it: the command name ("I",
// "II", "3", "CR", any letter case) or the kind's number.
std::optional<TCoreKind> CoreKindFromName(std::string_view name);

// The command names joined by separator, the last two by lastSeparator:
// ("|", "|") gives "I|II|3|CR", (", ", " or ") gives "I, II, 3 or CR".
std::string CoreCommandNames(std::string_view separator, std::string_view lastSeparator);

} // namespace korvo
