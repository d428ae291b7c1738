#pragma once

#include "common/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

class TPicoBlazeDebugger;

// The five simulation texts of the status bar.
struct TStatusStrings {
    std::string Instructions;   // " Instructions: 12"
    std::string Time;           // " Time : 25ns"
    std::string ProgramCounter; // " PC: $01A"
    std::string StackPointer;   // " SP: 1 ( $01 )"
    std::string Stack;          // " Stack: $05"
};

inline constexpr std::int32_t kDefaultFrequencyMHz = 80;

// The clock frequency in whole MHz from the text of the "Time"/"Frequency"
// setting (decimal, or hexadecimal after "$"); 80 for anything that is not
// a positive number.
std::int32_t ClockFrequencyFromText(std::string_view text);
std::int32_t ReadClockFrequency(const ISettingsStore& settings);

// The simulated time of a number of instructions at two clock cycles each.
std::string TimeText(std::int64_t instructionCount, std::int32_t frequencyMHz);

// The name of register n as runs report it: "s0" to "sF", or "s00" to "s1F"
// on the PicoBlaze II.
std::string RegisterName(const TPicoBlazeDebugger& simulator, int n);

TStatusStrings MakeStatusStrings(const TPicoBlazeDebugger& simulator, std::int32_t frequencyMHz);

} // namespace korvo
