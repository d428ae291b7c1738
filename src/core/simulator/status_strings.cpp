#include "simulator/status_strings.h"

#include "common/number_text.h"
#include "common/settings_layout.h"
#include "simulator/simulator.h"

#include <charconv>
#include <cmath>

namespace korvo {

namespace {

// The shortest decimal form: no trailing zeros, a point only when needed.
std::string ShortDecimal(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// Rounds to the nearest integer, ties to even.
double Nearest(double value) {
    return std::nearbyint(value);
}

} // namespace

std::string TimeText(std::int64_t instructionCount, std::int32_t frequencyMHz) {
    if (frequencyMHz <= 0) frequencyMHz = settings::kDefaultClockFrequency;
    double nanoseconds = static_cast<double>(instructionCount) * 2.0 * 1000.0 / frequencyMHz;
    if (!(nanoseconds > 0)) return " Time : 0ns";
    double decade = Nearest(std::log10(nanoseconds));
    if (decade < 4) return " Time : " + ShortDecimal(Nearest(nanoseconds)) + "ns";
    if (decade <= 6) return " Time : " + ShortDecimal(Nearest(nanoseconds / 1e2) / 10) + "\u00B5s";
    if (decade <= 9) return " Time : " + ShortDecimal(Nearest(nanoseconds / 1e5) / 10) + "ms";
    return " Time : " + ShortDecimal(Nearest(nanoseconds / 1e8) / 10) + "s";
}

TStatusStrings MakeStatusStrings(const TPicoBlazeSimulator& simulator, std::int32_t frequencyMHz) {
    TStatusStrings strings;
    strings.Instructions = " Instructions: " + std::to_string(simulator.InstructionCount());
    strings.Time = TimeText(simulator.InstructionCount(), frequencyMHz);
    int pcDigits = CoreDescription(simulator.CoreKind()).AddressDigits();
    strings.ProgramCounter =
        simulator.PC() < 0 ? " PC: ??" : " PC: $" + HexText(simulator.PC(), pcDigits);
    std::int32_t sp = simulator.SP();
    strings.StackPointer =
        sp < 0 ? " SP: ??" : " SP: " + std::to_string(sp) + " ( $" + HexText(sp, 2) + " )";
    strings.Stack = " Stack:";
    for (std::int32_t i = 0; i < sp; ++i)
        strings.Stack += " $" + HexText(simulator.StackEntry(i), 2);
    return strings;
}

std::string RegisterName(const TPicoBlazeSimulator& simulator, int n) {
    return "s" + HexText(n, CoreDescription(simulator.CoreKind()).RegisterDigits);
}

} // namespace korvo
