#pragma once

#include "common/core_kind.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// The choices made when a core's hardware is built: how much code memory it
// has, where an interrupt enters, the value HWBUILD reads and the size of the
// scratch pad. Only a core with HasBuildOptions takes them; every other core
// always has the fixed values of its description.
struct TCoreOptions {
    int ProgramSize = 0; // words of code space
    int InterruptVector = 0;
    int HwBuild = 0;        // 00..FF
    int ScratchPadSize = 0; // bytes; a core without build options takes it from elsewhere
    friend bool operator==(const TCoreOptions&, const TCoreOptions&) = default;
};

// The scratch pad sizes a core with build options can have.
inline constexpr int kBuildScratchPadSizes[] = {64, 128, 256};
inline constexpr int kDefaultBuildScratchPadSize = 64;
bool IsBuildScratchPadSize(int bytes);

// The core that takes build options (the settings page and the command-line
// options are for it); the row of no core when none does.
const TCoreDescription& BuildOptionsCore();

// The program sizes a core can be built with, smallest first: its smallest
// size doubled up to its code space.
std::vector<int> ProgramSizes(const TCoreDescription& core);
bool IsProgramSize(const TCoreDescription& core, int size);

// What a core is built with when nobody chose: its whole code space, its
// interrupt vector, HWBUILD 00 and a 64-byte scratch pad.
TCoreOptions DefaultCoreOptions(TCoreKind kind);

// The options a core really takes: its fixed values for a core without build
// options; otherwise each chosen value, or the default where the choice is
// not one the hardware can have (a size it is not built with, a vector beyond
// the largest program, a HWBUILD value above FF, another scratch pad size).
TCoreOptions EffectiveCoreOptions(TCoreKind kind, const TCoreOptions& chosen);

// A program size as users write it: "1K", "2K", "4K" (either letter case) or
// the number of words; nothing for anything else.
std::optional<int> ParseProgramSize(std::string_view text);
// "1K" for 1024 words, "4K" for 4096; the number for other sizes.
std::string ProgramSizeText(int words);

} // namespace korvo
