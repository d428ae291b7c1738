// Random programs on random port maps, driven by random commands: whatever
// the words, ports and user actions, the simulator keeps its state in range
// and never leaves a run behind (run under the sanitizers, this also checks
// every memory access).
#include "assembler/driver.h"
#include "assembler/syn_picoblaze.h"
#include "machine.h"
#include "output/bram.h"
#include "simulator/coverage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>

namespace korvo::test {
namespace {

constexpr TMemKind kPortKinds[] = {
    TMemKind::None, TMemKind::RAM,      TMemKind::ROM,  TMemKind::Input, TMemKind::Output,
    TMemKind::IO,   TMemKind::BlockRAM, TMemKind::UART, TMemKind::RAM,   TMemKind::Input};

// Words of random instructions of the core, mostly ALU operations: random
// lines of every form that the assembler takes.
const std::vector<std::uint32_t>& InstructionPool(TCoreKind core) {
    static std::map<TCoreKind, std::vector<std::uint32_t>> pools;
    auto& pool = pools[core];
    if (!pool.empty()) return pool;
    const char* alu[] = {"LOAD", "AND", "OR", "XOR", "TEST", "ADD", "ADDC", "SUB", "SUBC", "COMP"};
    const char* shifts[] = {"SLA", "RL", "SLX", "SL0", "SL1", "SRA", "SRX", "RR", "SR0", "SR1"};
    const char* ports[] = {"IN", "OUT", "FETCH", "STORE"};
    const char* conditions[] = {"", "Z, ", "NZ, ", "C, ", "NC, "};
    const TCoreDescription& traits = CoreDescription(core);
    std::mt19937 random(2);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto reg = [&] {
        char name[8];
        std::snprintf(name, sizeof name, core == TCoreKind::pbtII ? "s%02X" : "s%X",
                      below(traits.RegisterCount));
        return std::string(name);
    };
    TSynPicoBlaze parser;
    TStringListLog log;
    TMemorySettingsStore settings;
    TAssemblyImage image(core);
    TAssemblyContext context{parser, &image, log, settings, nullptr};
    while (pool.size() < 2000) {
        int kind = below(100);
        std::string line;
        if (kind < 50)
            line = alu[below(10)] + (" " + reg() + ", " + std::to_string(below(256)));
        else if (kind < 65)
            line = alu[below(10)] + (" " + reg() + ", " + reg());
        else if (kind < 73)
            line = shifts[below(10)] + (" " + reg());
        else if (kind < 78)
            line = ports[below(4)] + (" " + reg() + ", " + std::to_string(below(256)));
        else if (kind < 81)
            line = ports[below(4)] + (" " + reg() + ", (" + reg() + ")");
        else if (kind < 94)
            line = (kind < 90 ? "JUMP " : "CALL ") + std::string(conditions[below(5)]) +
                   std::to_string(below(traits.CodeSize));
        else if (kind < 97) {
            std::string condition = conditions[below(5)];
            line = "RET " + condition.substr(0, condition.find(','));
        } else if (kind < 98)
            line = below(2) ? "RETI ENABLE" : "RETI DISABLE";
        else
            line = below(2) ? "EINT" : "DINT";
        std::vector<std::string> listing;
        if (AssembleSource(context, "pool.psm", {line}, listing))
            pool.push_back(image.Entry(0).Word);
    }
    return pool;
}

class TFuzzer {
public:
    TFuzzer(TCoreKind core, unsigned seed) : machine_(core), random_(seed) {}

    // Mostly instructions of the core with random operands, so that runs go
    // on for a while; some random words and a few empty addresses.
    void LoadRandomProgram() {
        for (int address = 0; address < machine_.Sim->CodeSize(); ++address)
            if (!Chance(100)) StoreRandomInstruction(address);
    }

    void MapRandomPorts() {
        machine_.Sim->SetUsesScratchPad(true); // where the core has one
        for (int port = 0; port < kPortCount; ++port) {
            TMemMapItem item;
            item.Kind = kPortKinds[Below(std::size(kPortKinds))];
            item.Value = static_cast<std::uint8_t>(Below(256));
            item.Visible = Chance(2);
            if (item.Kind == TMemKind::UART)
                item.TcpPort = Chance(2) ? -1 : static_cast<int>(Below(65536));
            if (item.Kind == TMemKind::BlockRAM && !Chance(3)) {
                item.BlockRAM = std::make_shared<TBRAM>();
                item.BlockRAM->SetSize(Below(600));
                item.BlockRAM->SetPort(port);
            }
            machine_.Sim->SetPortItem(port, item);
        }
    }

    void DriveRandomly(int commands) {
        auto& sim = *machine_.Sim;
        machine_.Clock.Step = 1;
        sim.Start();
        for (int i = 0; i < commands; ++i) {
            const std::int64_t before = sim.InstructionCount();
            switch (Below(12)) {
            case 0:
            case 1:
            case 2: sim.Step(); break;
            case 3:
                sim.SetInstructionLimit(before + Below(3000));
                sim.Run();
                break;
            case 4:
                sim.SetInstructionLimit(before + Below(3000));
                sim.StepOver();
                break;
            case 5:
                sim.SetInstructionLimit(before + Below(3000));
                sim.RunToLine(RandomLine());
                break;
            case 6: sim.ToggleBreakpoint(RandomLine()); break;
            case 7:
                // Typed values may exceed a byte.
                sim.SetRegister(static_cast<int>(Below(sim.RegisterCount())),
                                static_cast<std::int32_t>(Below(1024)));
                break;
            case 8: sim.SetInterruptEdge(true); break;
            case 9: sim.SetInterruptLine(Chance(2)); break;
            case 10: sim.SetInterruptEnable(Chance(2)); break;
            case 11:
                if (Chance(4)) sim.ClearBreakpoints();
                break;
            }
            if (sim.State() != ssHalted) Executed += sim.InstructionCount() - before;
            CheckInvariants();
            if (::testing::Test::HasFatalFailure()) return;
            if (sim.State() == ssHalted) {
                // The same path would fail again after the reset: the failing
                // address gets another instruction, so that runs reach further.
                StoreRandomInstruction(std::min(sim.PC(), sim.CodeSize() - 1));
                sim.Reset();
            }
        }
    }

    // Runs the program from its reset for up to limit instructions in one
    // of the run loops: 0 single steps, 1 the fast loop, 2 counting for
    // coverage, 3 watched by an observer, 4 stopping at a breakpoint; with
    // the interrupt input held, when asked. The state it ends in.
    std::string RunInMode(int mode, std::int64_t limit, bool interrupts) {
        auto& sim = *machine_.Sim;
        struct TWatcher : IRunObserver {
            bool WatchesCycles() const override { return true; }
        } watcher;
        std::optional<TCoverage> coverage;
        if (mode == 2) coverage.emplace(sim);
        if (mode == 3) sim.AttachObserver(watcher);
        if (mode == 4)
            for (int line : {2, 6, 18})
                sim.ToggleBreakpoint(line);
        sim.SetInstructionLimit(limit);
        sim.Start();
        sim.SetInterruptLine(interrupts);
        // As in DriveRandomly, a failing address gets another instruction,
        // so that the runs reach further.
        std::int64_t total = 0;
        bool refused = false;
        for (int failures = 0; failures < 100; ++failures) {
            while (sim.State() == ssPaused && sim.InstructionCount() < limit)
                mode == 0 ? sim.Step() : mode == 4 ? sim.Run() : sim.RunLoop();
            total += sim.InstructionCount();
            refused |= sim.State() == ssHalted && sim.ErrorCode() == seIO;
            if (sim.State() != ssHalted) break;
            StoreRandomInstruction(std::min(sim.PC(), sim.CodeSize() - 1));
            sim.Reset();
            sim.SetInterruptLine(interrupts);
        }
        Executed = total;
        sim.DetachObserver(watcher);
        std::string state =
            std::to_string(total) + " " + std::to_string(sim.PC()) + " " +
            std::to_string(sim.InstructionCount()) + " " + std::to_string(sim.State()) + " " +
            std::to_string(sim.ErrorCode()) + " " + std::to_string(sim.SP()) + " " +
            std::to_string(sim.ZeroFlag()) + std::to_string(sim.SavedZero()) +
            std::to_string(sim.CarryFlag()) + std::to_string(sim.SavedCarry()) +
            std::to_string(sim.InterruptEnable()) + std::to_string(sim.InterruptAck()) +
            std::to_string(sim.InterruptLine()) + std::to_string(sim.InterruptEdge()) + " |";
        for (int n = 0; n < sim.StackDepth(); ++n)
            state += " " + std::to_string(sim.StackEntry(n));
        for (int n = 0; n < sim.RegisterCount(); ++n)
            state += " " + std::to_string(sim.Register(n));
        std::uint64_t counted = 0;
        for (int address = 0; address < sim.CodeSize(); ++address) {
            state += sim.IsExecuted(address) ? "x" : ".";
            if (coverage) counted += coverage->Count(address);
        }
        for (int port = 0; port < kPortCount; ++port)
            state += " " + std::to_string(sim.GetPortItem(port).Value);
        // Every completed instruction was counted where it ran (a refused
        // access resets the instruction count, not the coverage).
        if (coverage && !refused) {
            EXPECT_EQ(counted, static_cast<std::uint64_t>(total));
        }
        return state;
    }

    std::int64_t Executed = 0;

private:
    void CheckInvariants() {
        auto& sim = *machine_.Sim;
        ASSERT_NE(sim.State(), ssRunning);
        ASSERT_GE(sim.PC(), 0);
        // Only an instruction that goes on outside the code leaves the PC
        // there (at most one past the 12-bit address space), and halts.
        if (sim.ErrorCode() == seOutsideCode && sim.State() == ssHalted)
            ASSERT_LE(sim.PC(), 0x1000);
        else
            ASSERT_LT(sim.PC(), sim.CodeSize());
        // A return from an empty stack leaves -1 behind, and halts.
        ASSERT_GE(sim.SP(), sim.State() == ssHalted ? -1 : 0);
        ASSERT_LE(sim.SP(), sim.StackDepth());
        for (int n = 0; n < sim.RegisterCount(); ++n) {
            ASSERT_GE(sim.Register(n), 0);
            ASSERT_LT(sim.Register(n), 1024);
        }
    }

    void StoreRandomInstruction(int address) {
        const auto& pool = InstructionPool(machine_.Sim->CoreKind());
        std::uint32_t word = Chance(40) ? Below(1 << 18) : pool[Below(pool.size())];
        machine_.Sim->SetCodeEntry(address, TCodeEntry{true, false, address + 1, word});
    }

    // A line number around the code, one past each end included.
    int RandomLine() { return static_cast<int>(Below(machine_.Sim->CodeSize() + 2)) - 1; }

    std::uint32_t Below(std::size_t bound) {
        return static_cast<std::uint32_t>(
            std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_));
    }
    bool Chance(int oneIn) { return Below(oneIn) == 0; }

    TMachine machine_;
    std::mt19937 random_;
};

TEST(SimulatorFuzz, RandomProgramsPortsAndCommandsKeepTheStateInRange) {
    for (TCoreKind core : kAllCores) {
        std::int64_t executed = 0;
        for (unsigned seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE(std::string(CoreDescription(core).Name) + " seed " + std::to_string(seed));
            TFuzzer fuzzer(core, seed);
            fuzzer.LoadRandomProgram();
            fuzzer.MapRandomPorts();
            fuzzer.DriveRandomly(6000);
            if (HasFatalFailure()) return;
            executed += fuzzer.Executed;
        }
        // The programs ran far, not just into their first failure.
        EXPECT_GT(executed, 100'000) << CoreDescription(core).Name;
    }
}

// Each run loop is compiled for what a run needs; all of them must do what
// single steps do.
TEST(SimulatorFuzz, EveryRunLoopAgreesWithSingleSteps) {
    for (TCoreKind core : kAllCores) {
        std::int64_t executed = 0;
        for (unsigned seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE(std::string(CoreDescription(core).Name) + " seed " + std::to_string(seed));
            std::string stepped;
            for (int mode = 0; mode <= 4; ++mode) {
                TFuzzer fuzzer(core, seed);
                fuzzer.LoadRandomProgram();
                fuzzer.MapRandomPorts();
                std::string state = fuzzer.RunInMode(mode, 5000, seed % 2 == 0);
                if (mode == 0) stepped = state;
                if (mode == 0) executed += fuzzer.Executed;
                EXPECT_EQ(state, stepped) << "mode " << mode;
            }
        }
        EXPECT_GT(executed, 5'000) << CoreDescription(core).Name;
    }
}

} // namespace
} // namespace korvo::test
