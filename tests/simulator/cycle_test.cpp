// The instruction cycle shared by the cores: interrupts, the return stack,
// the code space bounds and what each failure leaves behind.
#include "sim_test_support.h"

#include <gtest/gtest.h>

namespace korvo::test {
namespace {

struct TCoreLimits {
    TCoreKind Core;
    int StackDepth;
    int Vector;
};

const TCoreLimits kLimits[] = {
    {TCoreKind::pbtI, 16, 255},
    {TCoreKind::pbtII, 32, 1023},
    {TCoreKind::pbt3, 32, 1023},
    {TCoreKind::pbtC, 4, 255},
};

TEST(Cycle, NestedCallsOverflowPastTheStackDepth) {
    for (const auto& limits : kLimits) {
        SCOPED_TRACE(CoreName(limits.Core));
        TMachine m(limits.Core);
        m.Load({m.Encode.Call(0)}); // calls itself
        m.Start();
        m.Steps(limits.StackDepth);
        EXPECT_EQ(m.Sim->State(), ssPaused);
        EXPECT_EQ(m.Sim->SP(), limits.StackDepth);
        EXPECT_EQ(m.Sim->StackDepth(), limits.StackDepth);
        m.Sim->Step();
        EXPECT_EQ(m.Sim->State(), ssHalted);
        EXPECT_EQ(m.Log.Lines, std::vector<std::string>{"?Stack overflow occurred."});
        EXPECT_EQ(m.Sim->SP(), limits.StackDepth);
        EXPECT_EQ(m.Sim->PC(), 0);
        EXPECT_EQ(m.Sim->InstructionCount(), limits.StackDepth);
    }
}

TEST(Cycle, ReturnOnEmptyStackUnderflows) {
    for (const auto& limits : kLimits) {
        for (bool reti : {false, true}) {
            SCOPED_TRACE(CoreName(limits.Core) + (reti ? " RETI" : " RET"));
            TMachine m(limits.Core);
            m.Load({m.Encode.Alu(TAlu::Load, 0, 1), reti ? m.Encode.Reti(true) : m.Encode.Ret()});
            m.Start();
            m.Sim->SetSavedCarry(true);
            m.Steps(2);
            EXPECT_EQ(m.Sim->State(), ssHalted);
            EXPECT_EQ(m.Log.Lines, std::vector<std::string>{"?Stack underflow occurred."});
            EXPECT_EQ(m.Sim->SP(), -1);
            EXPECT_EQ(m.Sim->PC(), 1);
            // RETI sets the enable and restores the flags before it fails.
            EXPECT_EQ(m.Sim->InterruptEnable(), reti);
            EXPECT_EQ(m.Sim->CarryFlag(), reti);
            // Halted: stepping does nothing until a reset.
            m.Sim->Step();
            EXPECT_EQ(m.Sim->PC(), 1);
            m.Sim->Reset();
            EXPECT_EQ(m.Sim->SP(), 0);
            EXPECT_EQ(m.Sim->State(), ssPaused);
        }
    }
}

TEST(Cycle, InterruptTakesTwoUncountedCycles) {
    for (const auto& limits : kLimits) {
        SCOPED_TRACE(CoreName(limits.Core));
        TMachine m(limits.Core);
        m.Load({m.Encode.Eint(), m.Encode.Alu(TAlu::Add, 1, 1), m.Encode.Alu(TAlu::Add, 1, 1)});
        m.Load({m.Encode.Reti(true)}, limits.Vector);
        m.Start();
        m.Sim->Step(); // EINT
        m.Sim->SetZeroFlag(true);
        m.Sim->SetInterruptEdge(true);
        m.Sim->Step(); // sees it
        EXPECT_TRUE(m.Sim->InterruptAck());
        EXPECT_EQ(m.Sim->PC(), 1);
        EXPECT_EQ(m.Sim->InstructionCount(), 1);
        EXPECT_EQ(m.Sim->ErrorCode(), seNone);
        m.Sim->Step(); // enters it
        EXPECT_EQ(m.Sim->PC(), limits.Vector);
        EXPECT_EQ(m.Sim->SP(), 1);
        EXPECT_EQ(m.Sim->StackEntry(0), 1);
        EXPECT_EQ(m.Sim->InstructionCount(), 1);
        EXPECT_FALSE(m.Sim->InterruptEdge());
        EXPECT_FALSE(m.Sim->InterruptEnable());
        EXPECT_FALSE(m.Sim->InterruptAck());
        EXPECT_TRUE(m.Sim->SavedZero());
        m.Sim->SetZeroFlag(false);
        m.Sim->Step(); // RETI ENABLE
        EXPECT_EQ(m.Sim->PC(), 1);
        EXPECT_TRUE(m.Sim->ZeroFlag());
        EXPECT_TRUE(m.Sim->InterruptEnable());
        EXPECT_EQ(m.Sim->InstructionCount(), 2);
        m.Sim->Step();
        EXPECT_EQ(m.Sim->Register(1), 1);
    }
}

TEST(Cycle, SteadyInterruptLineReentersAfterEachReturn) {
    TMachine m(TCoreKind::pbt3);
    m.Load({m.Encode.Eint(), m.Encode.Jump(1)});
    m.Load({m.Encode.Alu(TAlu::Add, 2, 1), m.Encode.Reti(true)}, 1000);
    m.Load({m.Encode.Jump(1000)}, 1023);
    m.Start();
    m.Sim->SetInterruptLine(true);
    m.Steps(1 + 2 * 5); // EINT, then ack, entry, JUMP, ADD, RETI per round
    EXPECT_EQ(m.Sim->Register(2), 2);
    EXPECT_EQ(m.Sim->PC(), 1);
    EXPECT_TRUE(m.Sim->InterruptLine());
}

TEST(Cycle, PendingEdgeWaitsForEnableAcrossReset) {
    TMachine m(TCoreKind::pbtI);
    m.Load({m.Encode.Alu(TAlu::Load, 0, 5), m.Encode.Eint(), m.Encode.Jump(2)});
    m.Start();
    m.Sim->SetInterruptEdge(true);
    m.Sim->Step();
    EXPECT_EQ(m.Sim->PC(), 1);
    EXPECT_FALSE(m.Sim->InterruptAck());
    m.Sim->Reset();
    EXPECT_TRUE(m.Sim->InterruptEdge());
    m.Steps(2); // LOAD, EINT
    m.Steps(2); // ack, entry
    EXPECT_EQ(m.Sim->PC(), 255);
    EXPECT_EQ(m.Sim->StackEntry(0), 2);
}

TEST(Cycle, InterruptWithFullStackOverflowsAfterDisabling) {
    for (const auto& limits : kLimits) {
        SCOPED_TRACE(CoreName(limits.Core));
        TMachine m(limits.Core);
        m.Load({m.Encode.Eint(), m.Encode.Call(1)});
        m.Start();
        m.Steps(1 + limits.StackDepth);
        EXPECT_EQ(m.Sim->SP(), limits.StackDepth);
        m.Sim->SetCarryFlag(true);
        m.Sim->SetInterruptEdge(true);
        m.Steps(2);
        EXPECT_EQ(m.Sim->State(), ssHalted);
        EXPECT_EQ(m.Log.Lines.back(), "?Stack overflow occurred.");
        EXPECT_FALSE(m.Sim->InterruptEnable());
        EXPECT_TRUE(m.Sim->SavedCarry());
        EXPECT_EQ(m.Sim->SP(), limits.StackDepth);
        EXPECT_EQ(m.Sim->PC(), 1);
    }
}

TEST(Cycle, RunningOffTheEndFailsOnTheLastInstruction) {
    for (const auto& limits : kLimits) {
        SCOPED_TRACE(CoreName(limits.Core));
        TMachine m(limits.Core);
        int last = m.Sim->CodeSize() - 1;
        m.Load({m.Encode.Jump(last)});
        m.Load({m.Encode.Alu(TAlu::Load, 3, 0x42)}, last);
        m.Start();
        m.Steps(2);
        EXPECT_EQ(m.Sim->State(), ssHalted);
        EXPECT_EQ(m.Log.Lines, std::vector<std::string>{"?Tried to run outside code space."});
        EXPECT_EQ(m.Sim->PC(), last);
        EXPECT_EQ(m.Sim->Register(3), 0x42); // the effects stay
        EXPECT_EQ(m.Sim->InstructionCount(), 1);
    }
}

TEST(Cycle, CallOnTheLastAddressReturnsOutsideTheCode) {
    TMachine m(TCoreKind::pbtC);
    m.Load({m.Encode.Jump(255)});
    m.Load({m.Encode.Ret()}, 10);
    m.Load({m.Encode.Call(10)}, 255);
    m.Start();
    m.Steps(3);
    EXPECT_EQ(m.Sim->State(), ssHalted);
    EXPECT_EQ(m.Sim->ErrorCode(), seOutsideCode);
    EXPECT_EQ(m.Sim->PC(), 10);
}

TEST(Cycle, ErrorMessagesByCode) {
    const std::pair<int, const char*> cases[] = {
        {1, "?Stack overflow occurred."},
        {2, "?Stack underflow occurred."},
        {3, "?Unsupported instruction encountered."},
        {4, "?Tried to run outside code space."},
        {5, "?No instruction found at this address."},
        {6, "?IO error: IN, OUT, FETCH or STORE outside IO or ScratchPad."},
        {128 + 2, "?Stack underflow occurred."},
        {0, "Unknown error; please report this problem."},
        {7, "Unknown error; please report this problem."},
        {99, "Unknown error; please report this problem."},
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(SimulatorErrorMessage(code), message);
}

TEST(Cycle, ResetClearsTheCoreButKeepsMarksAndPendingState) {
    TMachine m(TCoreKind::pbt3);
    m.Load({m.Encode.Alu(TAlu::Load, 1, 9), m.Encode.Eint(), m.Encode.Call(5)});
    m.Load({m.Encode.Alu(TAlu::Add, 1, 0xFF)}, 5);
    m.Start();
    m.Sim->ToggleBreakpoint(6);
    m.Steps(4);
    m.Sim->SetSavedZero(true);
    m.Sim->SetInterruptLine(true);
    m.Sim->SetInterruptEnable(false);
    m.Sim->SetInterruptEdge(true);
    m.Sim->Reset();
    EXPECT_EQ(m.Sim->PC(), 0);
    EXPECT_EQ(m.Sim->Register(1), 0);
    EXPECT_EQ(m.Sim->SP(), 0);
    EXPECT_EQ(m.Sim->InstructionCount(), 0);
    EXPECT_FALSE(m.Sim->ZeroFlag());
    EXPECT_FALSE(m.Sim->CarryFlag());
    EXPECT_FALSE(m.Sim->InterruptLine());
    EXPECT_TRUE(m.Sim->SavedZero());
    EXPECT_TRUE(m.Sim->InterruptEdge());
    EXPECT_EQ(m.Sim->StackEntry(0), 3); // stack cells stay
    EXPECT_TRUE(m.Sim->IsExecuted(5));
    EXPECT_TRUE(m.Sim->IsBreakpoint(5));
    EXPECT_EQ(m.Log.Lines.back(), "!Program is Reset");
}

} // namespace
} // namespace korvo::test
