// The simulation texts of the status bar.
#include "machine.h"
#include "simulator/status_strings.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

TEST(StatusStrings, TimeAtTwoClocksPerInstruction) {
    struct TCase {
        std::int64_t Instructions;
        std::int32_t FrequencyMHz;
        const char* Text;
    };
    const TCase cases[] = {
        {0, 80, " Time : 0ns"},
        {1, 80, " Time : 25ns"},
        {1000, 80, " Time : 25\u00B5s"},
        {400000, 80, " Time : 10ms"},
        {3162, 2000, " Time : 3162ns"}, // log10 just below 3.5
        {3163, 2000, " Time : 3.2\u00B5s"},
        {123456, 100, " Time : 2469.1\u00B5s"}, // log10 6.39: still µs
        {2'000'000'000, 80, " Time : 50s"},
        {10'000'000'000, 1, " Time : 20000s"},
        {1, 0, " Time : 25ns"}, // no frequency: 80 MHz
        {1, 3000, " Time : 1ns"},
        {1, 5000, " Time : 0ns"}, // 0.4 ns rounds to nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(TimeText(c.Instructions, c.FrequencyMHz), c.Text)
            << c.Instructions << " at " << c.FrequencyMHz;
}

TEST(StatusStrings, ProgramCounterAndStackPerCore) {
    for (TCoreKind core : kAllCores) {
        SCOPED_TRACE(CoreDescription(core).Name);
        TMachine m(core);
        m.Assemble({"CALL $0B", "RET", "ORG $0B", "CALL $0E", "RET", "ORG $0E", "RET"});
        m.Start();
        auto fresh = MakeStatusStrings(*m.Sim, 80);
        EXPECT_EQ(fresh.Instructions, " Instructions: 0");
        EXPECT_EQ(fresh.Time, " Time : 0ns");
        EXPECT_EQ(fresh.StackPointer, " SP: 0 ( $00 )");
        EXPECT_EQ(fresh.Stack, " Stack:");
        m.Steps(2);
        auto strings = MakeStatusStrings(*m.Sim, 80);
        bool wide = CoreDescription(core).CodeSize > 256;
        EXPECT_EQ(strings.Instructions, " Instructions: 2");
        EXPECT_EQ(strings.Time, " Time : 50ns");
        EXPECT_EQ(strings.ProgramCounter, wide ? " PC: $00E" : " PC: $0E");
        EXPECT_EQ(strings.StackPointer, " SP: 2 ( $02 )");
        // PicoBlaze 6 keeps the address of the CALL itself.
        EXPECT_EQ(strings.Stack, core == TCoreKind::pbt6 ? " Stack: $00 $0B" : " Stack: $01 $0C");
        m.Steps(3); // RET, RET and a RET on the empty stack
        strings = MakeStatusStrings(*m.Sim, 80);
        EXPECT_EQ(strings.StackPointer, " SP: ??");
        EXPECT_EQ(strings.Stack, " Stack:");
    }
}

TEST(StatusStrings, SessionReadsTheFrequencyWhenLoaded) {
    TMachine m(TCoreKind::pbt3);
    m.Settings.WriteValue("Time", "Frequency", "$32");
    m.Assemble({"JUMP 0"});
    EXPECT_EQ(m.Session->FrequencyMHz(), 80);
    m.Start();
    EXPECT_EQ(m.Session->FrequencyMHz(), 50);
    m.Settings.WriteValue("Time", "Frequency", "0");
    m.Sim->Reset(); // read only when a program is loaded
    EXPECT_EQ(m.Session->FrequencyMHz(), 50);
}

} // namespace
} // namespace korvo::test
