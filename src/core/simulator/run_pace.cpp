// Paced runs: Real time and Animate hold the run loop back to a number of
// instructions per second of wall time. The loop waits in short slices and
// keeps yielding on its usual rhythm, so that Pause answers as quickly as
// in a run at full speed.
#include "simulator/simulator_base.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvo {

TRunPace MakeRunPace(TRunSpeed speed, std::int32_t frequencyMHz, int animateRate) {
    switch (speed) {
    case TRunSpeed::Maximum: return {};
    case TRunSpeed::RealTime:
        return {speed, std::max(frequencyMHz, 1) * 1e6 / 2}; // two clock cycles an instruction
    case TRunSpeed::Animate:
        return {speed,
                static_cast<double>(std::clamp(animateRate, kMinAnimateRate, kMaxAnimateRate))};
    }
    return {};
}

std::int64_t PacedInstructions(const TRunPace& pace, int milliseconds) {
    if (pace.Speed == TRunSpeed::Maximum) return std::numeric_limits<std::int64_t>::max();
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(
                                         pace.InstructionsPerSecond * milliseconds / 1000.0)));
}

void TSimulator::SetRunPace(const TRunPace& pace) {
    pace_ = pace;
    if (pace_.Speed != TRunSpeed::Maximum && !(pace_.InstructionsPerSecond > 0))
        pace_.InstructionsPerSecond = 1;
    ++paceGeneration_;
}

int TSimulator::PacedBurstLength(int maxCycles) {
    // The longest wait between two looks at the state.
    constexpr std::int64_t kWaitSlice = kYieldSleepMilliseconds;
    const double rate = pace_.InstructionsPerSecond;
    std::int64_t now = clock_->NowMilliseconds();
    TPaceOrigin& origin = paceOrigin_;
    // Start measuring anew at the start of a run, for a new pace, and after
    // a reset took the count back.
    if (origin.PaceGeneration != paceGeneration_ || instructionCount_ < origin.Instructions)
        origin = {now, instructionCount_, paceGeneration_};
    std::int64_t done = instructionCount_ - origin.Instructions;
    auto dueBy = [&](std::int64_t time) {
        return static_cast<std::int64_t>(
            std::floor(static_cast<double>(time - origin.Milliseconds) * rate / 1000.0));
    };
    std::int64_t due = dueBy(now);
    // A run that fell far behind (a slow host, a long yield) goes on from
    // here rather than racing to catch up.
    if (due - done > std::max<std::int64_t>(1, static_cast<std::int64_t>(rate / 10))) {
        origin = {now, instructionCount_, paceGeneration_};
        done = 0;
        due = 0;
    }
    if (done < due) {
        std::int64_t burst = pace_.Speed == TRunSpeed::Animate ? 1 : due - done;
        return static_cast<int>(std::min<std::int64_t>(burst, maxCycles));
    }
    // Ahead of time: wait for the next instruction.
    auto next = origin.Milliseconds +
                static_cast<std::int64_t>(std::ceil(static_cast<double>(done + 1) * 1000.0 / rate));
    clock_->Sleep(static_cast<int>(std::clamp<std::int64_t>(next - now, 1, kWaitSlice)));
    return 0;
}

} // namespace korvo
