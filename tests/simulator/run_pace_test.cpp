// Paced runs on a test clock: Real time follows the simulated clock, Animate
// a number of instructions per second with the current line shown, and in
// every speed the loop yields at least every 30 ms so that Pause answers.
#include "machine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvo::test {
namespace {

TEST(RunPace, PacedRunsTakeTheirTimeAndKeepYielding) {
    struct TCase {
        const char* Name;
        TRunSpeed Speed;
        std::int32_t FrequencyMHz; // Real time: 2 cycles an instruction
        int AnimateRate;
        std::int64_t Instructions;
        std::int64_t FirstMs, LastMs; // wall time the run takes
    };
    const TCase cases[] = {
        {"maximum", TRunSpeed::Maximum, 80, 0, 100'000, 0, 0},
        {"real time at 1 MHz", TRunSpeed::RealTime, 1, 0, 1'000'000, 1990, 2020},
        {"animate 100 per second", TRunSpeed::Animate, 80, 100, 50, 500, 501},
        {"animate once a second", TRunSpeed::Animate, 80, 1, 3, 3000, 3001},
        {"animate above the range", TRunSpeed::Animate, 80, 5000, 100, 100, 101},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMachine m(TCoreKind::pbt3);
        m.Assemble({"JUMP 0"});
        m.Start();
        m.Sim->SetRunPace(MakeRunPace(c.Speed, c.FrequencyMHz, c.AnimateRate));
        m.Sim->SetInstructionLimit(c.Instructions);
        std::vector<std::int64_t> yieldsAt{0};
        bool lineShown = true;
        m.Sim->OnYield = [&](TSimulator& sim) {
            yieldsAt.push_back(m.Clock.NowMilliseconds());
            lineShown = lineShown && (sim.LineInfo(1) & liCurrent);
        };
        m.Sim->RunLoop();
        std::int64_t end = m.Clock.NowMilliseconds();
        EXPECT_EQ(m.Sim->InstructionCount(), c.Instructions);
        EXPECT_GE(end, c.FirstMs);
        EXPECT_LE(end, c.LastMs);
        yieldsAt.push_back(end);
        std::int64_t longestGap = 0;
        for (std::size_t i = 1; i < yieldsAt.size(); ++i)
            longestGap = std::max(longestGap, yieldsAt[i] - yieldsAt[i - 1]);
        EXPECT_LE(longestGap, 30);
        EXPECT_TRUE(std::all_of(m.Clock.Sleeps.begin(), m.Clock.Sleeps.end(),
                                [](int ms) { return ms >= 1 && ms <= 10; }));
        if (c.Speed == TRunSpeed::Animate) {
            EXPECT_GE(static_cast<std::int64_t>(yieldsAt.size()), c.Instructions);
            EXPECT_TRUE(lineShown);
        }
    }
}

} // namespace
} // namespace korvo::test
