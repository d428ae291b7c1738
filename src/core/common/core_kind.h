#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvo {

// The processor core a document is written for. The numbers are stored in
// settings and written into output files, so they must not change.
enum class TCoreKind : std::uint8_t { none = 0, pbtI = 1, pbtII = 2, pbt3 = 3, pbtC = 4 };

// Fixed facts about one core.
struct TCoreTraits {
    TCoreKind Kind;
    int WordBits;                 // instruction word width: 16 or 18
    int CodeSize;                 // words of code space
    int RegisterCount;            // registers the core has
    int StackDepth;               // return stack entries
    int AddressDigits;            // hex digits used to show a code address
    int WordDigits;               // hex digits used to show an instruction word
    std::string_view Name;        // "pbtI" ... as written into VHDL files
    std::string_view ModeCaption; // "Picoblaze-I" ... as shown in the status bar
};

const TCoreTraits& CoreTraits(TCoreKind kind);

// The 18-bit word class (PicoBlaze II and 3) versus everything else.
inline bool IsEighteenBitClass(TCoreKind kind) {
    return kind == TCoreKind::pbtII || kind == TCoreKind::pbt3;
}

// 1..4 to a core kind; nothing for any other number.
std::optional<TCoreKind> CoreKindFromNumber(int number);

// Parses a core name as the command line takes it: "I", "II", "3", "CR"
// (any letter case) or the numbers 1 to 4.
std::optional<TCoreKind> CoreKindFromName(std::string_view name);

} // namespace korvo
