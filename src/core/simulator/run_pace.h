#pragma once

#include <cstdint>

namespace korvo {

// How fast a run goes: as fast as the host can (Maximum), at the speed of
// the simulated clock (Real time, two clock cycles per instruction), or at a
// chosen number of instructions per second with the current line and the
// panels following every instruction (Animate).
enum class TRunSpeed : std::uint8_t { Maximum, RealTime, Animate };

struct TRunPace {
    TRunSpeed Speed = TRunSpeed::Maximum;
    // Instructions per second of Real time and Animate.
    double InstructionsPerSecond = 0;
};

inline constexpr int kMinAnimateRate = 1;
inline constexpr int kMaxAnimateRate = 1000;

// The pace of a speed: Real time at a clock of frequencyMHz, Animate at
// animateRate (kept within kMinAnimateRate to kMaxAnimateRate).
TRunPace MakeRunPace(TRunSpeed speed, std::int32_t frequencyMHz, int animateRate);

// How many instructions a burst of a run at this pace executes in
// milliseconds of wall time, at least one; no bound at Maximum.
std::int64_t PacedInstructions(const TRunPace& pace, int milliseconds);

} // namespace korvo
