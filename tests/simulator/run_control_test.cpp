// The state machine around the cores: start, step, run, step over, run to a
// line, pause, breakpoints, line marks, the run loop's rhythm, handlers that
// fail, and handlers that delete the simulator under a run.
#include "sim_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace korvo::test {
namespace {

// Records the events a simulator fires.
struct TEventTrace {
    explicit TEventTrace(TDebugger& sim) {
        sim.OnCurrentLineChange = [this](TDebugger&) { Events.push_back("line"); };
        sim.OnRunStart = [this](TDebugger&) { Events.push_back("start"); };
        sim.OnRunEnd = [this](TDebugger&) { Events.push_back("end"); };
        sim.OnBreakpointChange = [this](TDebugger&, int line) {
            Events.push_back("breakpoint " + std::to_string(line));
        };
    }
    std::vector<std::string> Events;
};

// A PicoBlaze 3 program: 0 LOAD s0,0; 1 ADD s0,1; 2 CALL 6; 3 JUMP 1;
// 6 ADD s1,1; 7 RET; 9 JUMP 9 (a loop of its own).
void LoadLoop(TMachine& m) {
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 0), e.Alu(TAlu::Add, 0, 1), e.Call(6), e.Jump(1)});
    m.Load({e.Alu(TAlu::Add, 1, 1), e.Ret()}, 6);
    m.Load({e.Jump(9)}, 9);
}

TEST(RunControl, StartLoadsThenResetsWithTheEventsInOrder) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    std::vector<std::string> events;
    m.Session->OnStateEntered = [&](TSimulatorState state) {
        events.push_back("state " + std::to_string(state));
    };
    m.Sim->OnCurrentLineChange = [&](TDebugger&) { events.push_back("line"); };
    m.Sim->OnRunEnd = [&](TDebugger&) { events.push_back("end"); };
    EXPECT_EQ(m.Sim->State(), ssIdle);
    EXPECT_FALSE(m.Sim->IsActive());
    m.Sim->Start();
    EXPECT_EQ(events,
              (std::vector<std::string>{"state 1", "line", "line", "end", "state 2", "line"}));
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->RequestedState(), ssPaused);
    EXPECT_EQ(m.Log.Lines, std::vector<std::string>{"!Program is Reset"});
    EXPECT_TRUE(m.Sim->CanStep());
    EXPECT_FALSE(m.Sim->CanPause());
    EXPECT_EQ(m.Sim->CurrentLine(), 1);
}

TEST(RunControl, ClearCodeImageEndsInIdle) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Sim->ClearCodeImage();
    EXPECT_EQ(m.Sim->State(), ssIdle);
    EXPECT_FALSE(m.Sim->HasCode(0));
    EXPECT_EQ(m.Sim->CurrentLine(), -1);
    TCodeEntry entry;
    m.Sim->GetCodeEntry(0, entry);
    EXPECT_EQ(entry, TCodeEntry{});
    m.Sim->Step(); // not allowed while idle
    m.Sim->Reset();
    EXPECT_EQ(m.Sim->State(), ssIdle);
}

TEST(RunControl, CodeEntriesOutsideTheCodeSpace) {
    for (TCoreKind core : kAllCores) {
        auto sim = CreateDebugger(core);
        int size = sim->CodeSize();
        EXPECT_THROW(sim->SetCodeEntry(size, TCodeEntry{true, false, 1, 0}), EMapError);
        EXPECT_THROW(sim->SetCodeEntry(-1, TCodeEntry{true, false, 1, 0}), EMapError);
        TCodeEntry entry{true, true, 7, 0x123};
        sim->GetCodeEntry(size, entry);
        EXPECT_EQ(entry, (TCodeEntry{true, true, 7, 0x123}));
        sim->SetCodeEntry(size - 1, TCodeEntry{true, true, 3, 0x42});
        sim->GetCodeEntry(size - 1, entry);
        EXPECT_EQ(entry, (TCodeEntry{true, true, 3, 0x42}));
        EXPECT_EQ(sim->LineToAddress(3), size - 1);
        EXPECT_EQ(sim->AddressToLine(size - 1), 3);
        EXPECT_EQ(sim->AddressToLine(-1), -1);
    }
    try {
        CreateDebugger(TCoreKind::pbtI)->SetCodeEntry(256, TCodeEntry{});
    } catch (const EMapError& error) {
        EXPECT_STREQ(error.what(), "Map");
    }
}

TEST(RunControl, StepFiresRunStartAndEnd) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    TEventTrace trace(*m.Sim);
    m.Sim->Step();
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"start", "line", "end"}));
    EXPECT_TRUE(m.Log.Lines.empty());
    EXPECT_EQ(m.Sim->PC(), 1);
}

TEST(RunControl, RunStopsAtABreakpointAndMovesOffIt) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Sim->ToggleBreakpoint(7); // address 6, inside the subroutine
    m.Sim->Run();
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->PC(), 6);
    EXPECT_EQ(m.Log.Lines, (std::vector<std::string>{"!Program is Started", "!Program is Paused"}));
    // Run again from the breakpoint: it executes and comes round once more.
    m.Sim->Run();
    EXPECT_EQ(m.Sim->PC(), 6);
    EXPECT_EQ(m.Sim->Register(1), 1);
    EXPECT_EQ(m.Sim->Register(0), 2);
    EXPECT_EQ(m.Sim->RunToAddress(), -1);
}

TEST(RunControl, StepOverACallStopsAfterTheReturn) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Steps(2); // PC on the CALL
    m.Sim->StepOver();
    EXPECT_EQ(m.Sim->PC(), 3);
    EXPECT_EQ(m.Sim->Register(1), 1);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->RunToAddress(), -1);
}

// Over a recursive call, Step Over stops where that call returns, not where
// a deeper call of the recursion returns to the same address.
TEST(RunControl, StepOverARecursiveCallStopsAtItsOwnDepth) {
    TMachine m(TCoreKind::pbt3);
    const TEncoder& e = m.Encode;
    m.Load({e.Alu(TAlu::Load, 0, 3), e.Call(3), e.Jump(2), e.Alu(TAlu::Sub, 0, 1), e.Ret(kZ),
            e.Call(3), e.Ret()});
    m.Start();
    m.Steps(4); // PC on the CALL at 5, one level deep
    ASSERT_EQ(m.Sim->PC(), 5);
    m.Sim->StepOver();
    EXPECT_EQ(m.Sim->PC(), 6);
    EXPECT_EQ(m.Sim->SP(), 1);
    EXPECT_EQ(m.Sim->Register(0), 0);
}

TEST(RunControl, StepOverAJumpToItselfRunsUntilPause) {
    TMachine m(TCoreKind::pbt3);
    m.Load({m.Encode.Jump(0), m.Encode.Jump(0)});
    m.Start();
    m.Clock.Step = 1; // each look at the clock is a millisecond
    int yields = 0;
    m.Sim->OnYield = [&](TDebugger& sim) {
        if (++yields == 3) sim.Pause(); // Pause from inside a yield
    };
    m.Sim->StepOver(); // target 1 is never reached
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->PC(), 0);
    EXPECT_GT(m.Sim->InstructionCount(), 3);
    EXPECT_EQ(m.Log.Lines, (std::vector<std::string>{"!Program is Started", "!Program is Paused"}));
}

TEST(RunControl, StepOverOnTheLastAddressRunsWithoutTarget) {
    TMachine m(TCoreKind::pbtC);
    m.Load({m.Encode.Jump(255)});
    m.Load({m.Encode.Alu(TAlu::Add, 0, 1), m.Encode.Jump(255)}, 253);
    m.Load({m.Encode.Jump(253)}, 255);
    m.Start();
    m.Sim->Step();
    EXPECT_EQ(m.Sim->PC(), 255);
    m.Sim->ToggleBreakpoint(254); // address 253
    m.Sim->StepOver();
    EXPECT_EQ(m.Sim->PC(), 253); // stopped by the breakpoint, not by a target
    m.Sim->StepOver();           // target 254
    EXPECT_EQ(m.Sim->PC(), 254);
}

TEST(RunControl, RunToLineStopsAtItsAddress) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    EXPECT_TRUE(m.Sim->CanRunToLine(8));
    EXPECT_FALSE(m.Sim->CanRunToLine(5)); // no code on line 5
    m.Sim->RunToLine(8);                  // address 7: the RET
    EXPECT_EQ(m.Sim->PC(), 7);
    EXPECT_EQ(m.Sim->Register(1), 1);
    EXPECT_EQ(m.Log.Lines, (std::vector<std::string>{"!Program is Started", "!Program is Paused"}));
}

TEST(RunControl, TheRunLoopSleepsAndYieldsEveryTwentyMilliseconds) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Clock.Step = 1;
    int yields = 0;
    m.Sim->OnYield = [&](TDebugger& sim) {
        EXPECT_TRUE(sim.CanPause());
        EXPECT_FALSE(sim.CanStep());
        EXPECT_FALSE(sim.CanRunToLine(1));
        std::int64_t count = sim.InstructionCount();
        sim.Run(); // refused while running
        sim.Step();
        EXPECT_EQ(sim.InstructionCount(), count);
        if (++yields == 5) sim.Pause();
    };
    m.Sim->RunToLine(10); // JUMP 9, never reached
    EXPECT_EQ(yields, 5);
    EXPECT_EQ(m.Clock.Sleeps, std::vector<int>(5, 10));
    EXPECT_EQ(m.Sim->State(), ssPaused);
}

TEST(RunControl, ResetOrLeavingSimulationInsideAYieldEndsTheRun) {
    for (bool leave : {false, true}) {
        TMachine m(TCoreKind::pbt3);
        LoadLoop(m);
        m.Start();
        m.Clock.Step = 5;
        TEventTrace trace(*m.Sim);
        m.Sim->OnYield = [&](TDebugger& sim) {
            if (leave)
                sim.ClearCodeImage();
            else
                sim.Reset();
        };
        m.Sim->Run();
        EXPECT_EQ(m.Sim->State(), leave ? ssIdle : ssPaused);
        if (!leave) {
            EXPECT_EQ(m.Sim->PC(), 0);
        }
        EXPECT_EQ(trace.Events.back(), "end");
    }
}

TEST(RunControl, InstructionLimitPausesTheRun) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Sim->SetInstructionLimit(10000);
    m.Sim->Run();
    EXPECT_EQ(m.Sim->InstructionCount(), 10000);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    m.Sim->SetInstructionLimit(10001);
    m.Sim->Run(); // the leading step reaches the limit
    EXPECT_EQ(m.Sim->InstructionCount(), 10001);
    m.Sim->SetInstructionLimit(3);
    m.Sim->Reset();
    m.Sim->RunLoop();
    EXPECT_EQ(m.Sim->InstructionCount(), 3);
}

TEST(RunControl, BreakpointsToggleByLine) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    TEventTrace trace(*m.Sim);
    m.Sim->ToggleBreakpoint(5);  // no code there
    m.Sim->ToggleBreakpoint(-1); // the line of entries without code
    m.Sim->ClearBreakpoints();   // none set
    EXPECT_TRUE(trace.Events.empty());
    EXPECT_FALSE(m.Sim->HasBreakpoints());
    m.Sim->ToggleBreakpoint(2);
    m.Sim->ToggleBreakpoint(4);
    EXPECT_EQ(m.Sim->BreakpointCount(), 2);
    EXPECT_TRUE(m.Sim->IsBreakpoint(1));
    EXPECT_FALSE(m.Sim->IsBreakpoint(-1));
    EXPECT_FALSE(m.Sim->IsBreakpoint(5000));
    m.Sim->ToggleBreakpoint(2);
    EXPECT_EQ(m.Sim->BreakpointCount(), 1);
    m.Sim->ClearBreakpoints();
    EXPECT_EQ(m.Sim->BreakpointCount(), 0);
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"breakpoint 2", "breakpoint 4",
                                                      "breakpoint 2", "breakpoint -1"}));
}

TEST(RunControl, LineInfoMarks) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Sim->ToggleBreakpoint(2);
    m.Sim->Step();
    struct TCase {
        int Line;
        int Info;
    };
    const TCase cases[] = {
        {0, 0},
        {-3, 0},
        {1, liCode | liExecuted},
        {2, liCurrent | liCode | liBreakpoint},
        {3, liCode},
        {5, 0},
        {10, liCode},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m.Sim->LineInfo(c.Line), c.Info) << "line " << c.Line;
    EXPECT_TRUE(m.Sim->LineIsExecuted(1));
    EXPECT_FALSE(m.Sim->LineIsExecuted(2));
    EXPECT_TRUE(m.Sim->LineHasCode(10));
    EXPECT_FALSE(m.Sim->LineHasCode(5));
    // No line is current during a run.
    m.Clock.Step = 20;
    int marked = -1;
    m.Sim->OnYield = [&](TDebugger& sim) {
        marked = sim.LineInfo(sim.CurrentLine());
        sim.Pause();
    };
    m.Sim->ClearBreakpoints();
    m.Sim->Run();
    EXPECT_EQ(marked & liCurrent, 0);
    // A reset keeps the executed marks.
    m.Sim->Reset();
    EXPECT_TRUE(m.Sim->LineIsExecuted(1));
}

TEST(RunControl, AFailingHandlerHaltsTheRun) {
    TMachine m(TCoreKind::pbt3);
    LoadLoop(m);
    m.Start();
    m.Clock.Step = 10;
    m.Sim->OnYield = [](TDebugger&) { throw std::runtime_error("panel broke"); };
    m.Sim->Run();
    EXPECT_EQ(m.Sim->State(), ssHalted);
    EXPECT_EQ(m.Log.Lines,
              (std::vector<std::string>{"!Program is Started", "?panel broke",
                                        "Unknown error; please report this problem."}));
    m.Sim->Reset();
    EXPECT_EQ(m.Sim->State(), ssPaused);

    // Also when the failing handler is the state handler itself.
    m.Sim->OnYield = nullptr;
    m.Sim->OnRunStart = [](TDebugger&) { throw std::logic_error("start failed"); };
    m.Session->OnStateEntered = [](TSimulatorState state) {
        if (state == ssHalted) throw std::runtime_error("again");
    };
    m.Sim->Step();
    EXPECT_EQ(m.Sim->State(), ssHalted);
}

TEST(RunControl, DeletingTheSimulatorUnderARunIsDeferred) {
    enum class TWhere { Yield, Read, BeforeStep, StateChange, RunEnd };
    for (TWhere where :
         {TWhere::Yield, TWhere::Read, TWhere::BeforeStep, TWhere::StateChange, TWhere::RunEnd}) {
        SCOPED_TRACE(static_cast<int>(where));
        auto sim = CreateDebugger(TCoreKind::pbt3);
        TEncoder e(TCoreKind::pbt3);
        TTestClock clock;
        clock.Step = 7;
        sim->SetRunClock(clock);
        TMemMapItem input;
        input.Kind = mkInput;
        sim->SetPortItem(4, input);
        std::vector<std::uint32_t> words{e.Alu(TAlu::Add, 0, 1), e.Port(TPortOp::In, 1, 4),
                                         e.Jump(0)};
        for (int i = 0; i < 3; ++i)
            sim->SetCodeEntry(i, TCodeEntry{true, false, i + 1, words[i]});
        sim->Start();
        int eventsAfterDelete = 0;
        bool deleted = false;
        auto destroy = [&] {
            if (deleted) {
                ++eventsAfterDelete;
                return;
            }
            deleted = true;
            sim.reset();
        };
        int reads = 0;
        switch (where) {
        case TWhere::Yield: sim->OnYield = [&](TDebugger&) { destroy(); }; break;
        case TWhere::Read:
            sim->OnRead = [&](std::int32_t, std::uint8_t) {
                if (++reads == 100) destroy();
                return 0;
            };
            break;
        case TWhere::BeforeStep:
            sim->OnBeforeStep = [&](TDebugger& s) {
                if (s.InstructionCount() == 50) destroy();
            };
            break;
        case TWhere::StateChange:
            sim->OnStateChange = [&](TDebugger& s) {
                if (s.RequestedState() == ssRunning) destroy();
            };
            break;
        case TWhere::RunEnd: sim->OnRunEnd = [&](TDebugger&) { destroy(); }; break;
        }
        sim->OnCurrentLineChange = [&](TDebugger&) {
            if (deleted) ++eventsAfterDelete;
        };
        TPicoBlazeDebugger* raw = sim.get();
        raw->Run(); // the run goes on the stack through the raw pointer
        EXPECT_TRUE(deleted);
        EXPECT_EQ(eventsAfterDelete, 0);
    }
}

} // namespace
} // namespace korvo::test
