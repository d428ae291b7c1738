#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

class TPicoBlazeSimulator;

// The five simulation texts of the status bar.
struct TStatusStrings {
    std::string Instructions;   // " Instructions: 12"
    std::string Time;           // " Time : 25ns"
    std::string ProgramCounter; // " PC: $01A"
    std::string StackPointer;   // " SP: 1 ( $01 )"
    std::string Stack;          // " Stack: $05"
};

// The simulated time of a number of instructions at two clock cycles each; a
// frequency not above 0 counts as the default clock frequency.
std::string TimeText(std::int64_t instructionCount, std::int32_t frequencyMHz);

// The name of register n as runs report it: "s0" to "sF", or "s00" to "s1F"
// on the PicoBlaze II.
std::string RegisterName(const TPicoBlazeSimulator& simulator, int n);

TStatusStrings MakeStatusStrings(const TPicoBlazeSimulator& simulator, std::int32_t frequencyMHz);

} // namespace korvo
