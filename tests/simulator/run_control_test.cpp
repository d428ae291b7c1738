// The state machine around the cores where handlers take part: the events in
// order, the run loop's rhythm, breakpoints and line marks, handlers that
// fail, and handlers that delete the simulator under a run. The stops of
// runs are in tests/data/simulator/run_control.psm.
#include "machine.h"
#include "simulator/sim_errors.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace korvo::test {
namespace {

using Lines = std::vector<std::string>;

// 0 LOAD s0,0; 1 ADD s0,1; 2 CALL 6; 3 JUMP 1; 6 ADD s1,1; 7 RET; 9 JUMP 9,
// one line per address.
const Lines kLoop = {"LOAD s0, 0", "loop: ADD s0, 1", "CALL 6", "JUMP loop", "",
                     "ORG 6",      "ADD s1, 1",       "RET",    "ORG 9",     "JUMP 9"};

struct TLoopMachine : TMachine {
    TLoopMachine() : TMachine(TCoreKind::pbt3) {
        Assemble(kLoop);
        Sim->OnCurrentLineChange = [this](TSimulator&) { Events.push_back("line"); };
        Sim->OnRunStart = [this](TSimulator&) { Events.push_back("start"); };
        Sim->OnRunEnd = [this](TSimulator&) { Events.push_back("end"); };
        Sim->OnBreakpointChange = [this](TSimulator&, int line) {
            Events.push_back("breakpoint " + std::to_string(line));
        };
        Session->OnStateEntered = [this](TSimulatorState state) {
            Events.push_back("state " + std::to_string(state));
        };
    }
    Lines Events;
};

TEST(RunControl, EventsOfStartAndStep) {
    TLoopMachine m;
    EXPECT_FALSE(m.Sim->IsActive());
    m.Sim->Start();
    EXPECT_EQ(m.Events, (Lines{"state 1", "line", "line", "end", "state 2", "line"}));
    EXPECT_EQ(m.Log.Lines, Lines{"!Program is Reset"});
    EXPECT_TRUE(m.Sim->CanStep());
    EXPECT_FALSE(m.Sim->CanPause());
    EXPECT_EQ(m.Sim->CurrentLine(), 1);
    m.Events.clear();
    m.Sim->Step();
    EXPECT_EQ(m.Events, (Lines{"start", "line", "end"}));
    // Leaving the simulation empties the code image; nothing steps then.
    m.Sim->ClearCodeImage();
    EXPECT_EQ(m.Sim->State(), ssIdle);
    EXPECT_EQ(m.Sim->CurrentLine(), -1);
    m.Sim->Step();
    m.Sim->Reset();
    EXPECT_EQ(m.Sim->State(), ssIdle);
    EXPECT_FALSE(m.Sim->HasCode(0));
}

TEST(RunControl, ACommandBetweenBurstsEndsTheRun) {
    TLoopMachine m;
    m.Sim->Start();
    m.Events.clear();
    EXPECT_EQ(m.Session->RunBurst(5), TStopReason::None);
    m.Sim->Reset();
    EXPECT_EQ(m.Session->RunBurst(5), TStopReason::None);
    m.Sim->ClearCodeImage();
    EXPECT_EQ(m.Events,
              (Lines{"state 3", "line", "start", "line", "end", "state 2", "line", "line", "end",
                     "state 3", "line", "start", "state 0", "line", "line", "end"}));
}

TEST(RunControl, CodeEntriesOutsideTheCodeSpace) {
    for (TCoreKind core : kAllCores) {
        auto sim = CreateSimulator(core);
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
}

TEST(RunControl, StepOverAJumpToItselfRunsUntilPause) {
    TMachine m(TCoreKind::pbt3);
    m.Assemble({"JUMP 0", "JUMP 0"});
    m.Start();
    m.Clock.Step = 1; // each look at the clock is a millisecond
    int yields = 0;
    m.Sim->OnYield = [&](TSimulator& sim) {
        if (++yields == 3) sim.Pause(); // Pause from inside a yield
    };
    m.Sim->StepOver(); // target 1 is never reached
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(m.Sim->State(), ssPaused);
    EXPECT_EQ(m.Sim->PC(), 0);
    EXPECT_GT(m.Sim->InstructionCount(), 3);
    EXPECT_EQ(m.Log.Lines, (Lines{"!Program is Started", "!Program is Paused"}));
}

TEST(RunControl, TheRunLoopSleepsAndYieldsEveryTwentyMilliseconds) {
    TLoopMachine m;
    m.Start();
    m.Clock.Step = 1;
    int yields = 0;
    m.Sim->OnYield = [&](TSimulator& sim) {
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
        TLoopMachine m;
        m.Start();
        m.Clock.Step = 5;
        m.Sim->OnYield = [&](TSimulator& sim) { leave ? sim.ClearCodeImage() : sim.Reset(); };
        m.Sim->Run();
        EXPECT_EQ(m.Sim->State(), leave ? ssIdle : ssPaused);
        if (!leave) {
            EXPECT_EQ(m.Sim->PC(), 0);
        }
        EXPECT_EQ(m.Events.back(), "end");
    }
}

TEST(RunControl, BreakpointsAndLineMarks) {
    TLoopMachine m;
    m.Start();
    m.Events.clear();
    m.Sim->ToggleBreakpoint(5);  // no code there
    m.Sim->ToggleBreakpoint(-1); // the line of entries without code
    m.Sim->ClearBreakpoints();   // none set
    EXPECT_TRUE(m.Events.empty());
    m.Sim->ToggleBreakpoint(2);
    m.Sim->ToggleBreakpoint(4);
    m.Sim->ToggleBreakpoint(4);
    EXPECT_FALSE(m.Sim->IsBreakpoint(3));
    EXPECT_TRUE(m.Sim->IsBreakpoint(1));
    EXPECT_FALSE(m.Sim->IsBreakpoint(-1));
    EXPECT_FALSE(m.Sim->IsBreakpoint(5000));
    EXPECT_EQ(m.Events, (Lines{"breakpoint 2", "breakpoint 4", "breakpoint 4"}));
    m.Sim->Step();
    const std::pair<int, int> marks[] = {{0, 0},
                                         {-3, 0},
                                         {1, liCode | liExecuted},
                                         {2, liCurrent | liCode | liBreakpoint},
                                         {3, liCode},
                                         {5, 0},
                                         {10, liCode}};
    for (auto [line, info] : marks)
        EXPECT_EQ(m.Sim->LineInfo(line), info) << "line " << line;
    // No line is current during a run.
    m.Clock.Step = 20;
    int marked = -1;
    m.Sim->OnYield = [&](TSimulator& sim) {
        marked = sim.LineInfo(sim.CurrentLine());
        sim.Pause();
    };
    m.Sim->ToggleBreakpoint(2);
    EXPECT_FALSE(m.Sim->HasBreakpoints());
    m.Sim->ToggleBreakpoint(2);
    m.Sim->ClearBreakpoints();
    EXPECT_FALSE(m.Sim->HasBreakpoints());
    EXPECT_EQ(m.Events.back(), "breakpoint -1");
    m.Sim->Run();
    EXPECT_EQ(marked & liCurrent, 0);
}

TEST(RunControl, AFailingHandlerHaltsTheRun) {
    TLoopMachine m;
    m.Start();
    m.Clock.Step = 10;
    m.Sim->OnYield = [](TSimulator&) { throw std::runtime_error("panel broke"); };
    m.Sim->Run();
    EXPECT_EQ(m.Sim->State(), ssHalted);
    EXPECT_EQ(m.Log.Lines, (Lines{"!Program is Started", "?panel broke",
                                  "Unknown error; please report this problem."}));
    m.Sim->Reset();
    EXPECT_EQ(m.Sim->State(), ssPaused);
    // Also when the failing handler is the state handler itself.
    m.Sim->OnYield = nullptr;
    m.Sim->OnRunStart = [](TSimulator&) { throw std::logic_error("start failed"); };
    m.Session->OnStateEntered = [](TSimulatorState state) {
        if (state == ssHalted) throw std::runtime_error("again");
    };
    m.Sim->Step();
    EXPECT_EQ(m.Sim->State(), ssHalted);
    // The messages of the error codes; the high bit does not count.
    EXPECT_EQ(SimulatorErrorMessage(128 + 2), "?Stack underflow occurred.");
    EXPECT_EQ(SimulatorErrorMessage(6),
              "?IO error: IN, OUT, FETCH or STORE outside IO or ScratchPad.");
    for (int code : {0, 7, 99})
        EXPECT_EQ(SimulatorErrorMessage(code), "Unknown error; please report this problem.");
}

TEST(RunControl, DeletingTheSimulatorUnderARunIsDeferred) {
    enum class TWhere { Yield, Read, BeforeStep, StateChange, RunEnd };
    for (TWhere where :
         {TWhere::Yield, TWhere::Read, TWhere::BeforeStep, TWhere::StateChange, TWhere::RunEnd}) {
        SCOPED_TRACE(static_cast<int>(where));
        auto m = std::make_unique<TMachine>(TCoreKind::pbt3);
        m->Assemble({"DSIN 4", "loop: ADD s0, 1", "IN s1, 4", "JUMP loop"});
        m->Session.reset(); // the handlers are the test's
        m->Clock.Step = 7;
        auto sim = std::move(m->Sim);
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
        case TWhere::Yield: sim->OnYield = [&](TSimulator&) { destroy(); }; break;
        case TWhere::Read:
            sim->OnRead = [&](std::int32_t, TMemKind) {
                if (++reads == 100) destroy();
                return 0;
            };
            break;
        case TWhere::BeforeStep:
            sim->OnBeforeStep = [&](TSimulator& s) {
                if (s.InstructionCount() == 50) destroy();
            };
            break;
        case TWhere::StateChange:
            sim->OnStateChange = [&](TSimulator& s) {
                if (s.RequestedState() == ssRunning) destroy();
            };
            break;
        case TWhere::RunEnd: sim->OnRunEnd = [&](TSimulator&) { destroy(); }; break;
        }
        sim->OnCurrentLineChange = [&](TSimulator&) {
            if (deleted) ++eventsAfterDelete;
        };
        TPicoBlazeSimulator* raw = sim.get();
        raw->Run(); // the run goes on the stack through the raw pointer
        EXPECT_TRUE(deleted);
        EXPECT_EQ(eventsAfterDelete, 0);
    }
}

} // namespace
} // namespace korvo::test
