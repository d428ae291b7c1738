// Execution speed of the simulator: an ALU/branch loop and an I/O-heavy loop
// on each core, run without sleeping and in the IDE's rhythm (20 ms of run,
// then a real 10 ms sleep and a yield), and the ALU loop beside an idle UART.
#include "simulator/coverage.h"
#include "simulator/exit_port.h"
#include "simulator/io_router.h"
#include "simulator/port_expectation.h"
#include "simulator/run_record.h"
#include "simulator/simulator.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <optional>
#include <vector>

namespace korvo {
namespace {

struct TLoopProgram {
    TCoreKind Core;
    std::vector<std::uint32_t> AluLoop; // ADD, ADDC, XOR, SUB, JUMP NZ, JUMP
    std::vector<std::uint32_t> IoLoop;  // IN p1, ADD, OUT p2, JUMP
};

// Hand-encoded words of the same two loops on every core.
const TLoopProgram kPrograms[] = {
    {TCoreKind::pbtI,
     {0x0000, 0x4001, 0x5100, 0xC203, 0x6301, 0x9501, 0x8101},
     {0xA001, 0x4001, 0xE002, 0x8100}},
    {TCoreKind::pbtII,
     {0x00000, 0x08001, 0x0A100, 0x16200, 0x0C301, 0x35401, 0x34001},
     {0x20001, 0x08001, 0x22002, 0x34000}},
    {TCoreKind::pbt3,
     {0x00000, 0x18001, 0x1A100, 0x0F200, 0x1C301, 0x35401, 0x34001},
     {0x04001, 0x18001, 0x2C002, 0x34000}},
    {TCoreKind::pbtC,
     {0x0000, 0x2001, 0x2900, 0x5A00, 0x3301, 0xD501, 0xD001},
     {0x8001, 0x2001, 0x8802, 0xD000}},
    // PicoBlaze 6 should run within a tenth of PicoBlaze 3.
    {TCoreKind::pbt6,
     {0x01000, 0x11001, 0x13100, 0x06200, 0x19301, 0x36001, 0x22001},
     {0x09001, 0x11001, 0x2D002, 0x22000}},
};

std::unique_ptr<TPicoBlazeSimulator> Load(TCoreKind core, const std::vector<std::uint32_t>& words) {
    auto simulator = CreateSimulator(core);
    for (std::size_t i = 0; i < words.size(); ++i)
        simulator->SetCodeEntry(static_cast<int>(i),
                                TCodeEntry{true, false, static_cast<int>(i) + 1, words[i]});
    return simulator;
}

constexpr std::int64_t kInstructionsPerIteration = 50'000'000;

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Reports instructions per second of wall time and, since the machine may
// be shared, per second of this thread's processor time.
void RunFor(TPicoBlazeSimulator& simulator, benchmark::State& state) {
    std::int64_t total = 0;
    double cpuStart = ThreadCpuSeconds();
    for (auto _ : state) {
        simulator.SetInstructionLimit(simulator.InstructionCount() + kInstructionsPerIteration);
        simulator.RunLoop();
        if (simulator.State() != ssPaused) state.SkipWithError("the run did not pause");
        total += kInstructionsPerIteration;
        simulator.Reset();
    }
    double cpuSeconds = ThreadCpuSeconds() - cpuStart;
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
    state.counters["per_cpu_s"] = static_cast<double>(total) / cpuSeconds;
}

void AluLoop(benchmark::State& state, int programIndex, bool sleeping) {
    const auto& program = kPrograms[programIndex];
    auto simulator = Load(program.Core, program.AluLoop);
    TNoSleepRunClock noSleep;
    if (!sleeping) simulator->SetRunClock(noSleep);
    simulator->Start();
    RunFor(*simulator, state);
}

void IoLoop(benchmark::State& state, int programIndex, bool sleeping) {
    const auto& program = kPrograms[programIndex];
    auto simulator = Load(program.Core, program.IoLoop);
    TMemMapItem input;
    input.Kind = TMemKind::Input;
    input.InFile = "";
    TMemMapItem output;
    output.Kind = TMemKind::Output;
    simulator->SetPortItem(1, input);
    simulator->SetPortItem(2, output);
    TNullLog log;
    TSimulationIO io(log);
    io.Attach(*simulator);
    TNoSleepRunClock noSleep;
    if (!sleeping) simulator->SetRunClock(noSleep);
    simulator->Start();
    io.Build(*simulator);
    RunFor(*simulator, state);
}

// The ALU loop with a UART declared that the program leaves alone, its line
// brought up to date and emptied at every yield as the front ends do: the
// UART should cost the run nothing.
void AluLoopWithIdleUart(benchmark::State& state, int programIndex) {
    const auto& program = kPrograms[programIndex];
    auto simulator = Load(program.Core, program.AluLoop);
    TMemMapItem status;
    status.Kind = TMemKind::UART;
    status.TcpPort = 5000;
    TMemMapItem data = status;
    data.TcpPort = -1;
    simulator->SetPortItem(0x04, status);
    simulator->SetPortItem(0x05, data);
    TNullLog log;
    TSimulationIO io(log);
    io.Attach(*simulator);
    TNoSleepRunClock noSleep;
    simulator->SetRunClock(noSleep);
    simulator->Start();
    io.Build(*simulator);
    io.UARTs().front()->Feed("waiting to be received");
    simulator->OnYield = [&io](TSimulator&) {
        for (const auto& uart : io.UARTs())
            uart->TakeOutput();
    };
    RunFor(*simulator, state);
}

// The speed loop of korvo sim (bench/firmware_loop.psm): ADD s0, 1 / ADDC
// s1, 0 / XOR s2, s0 / SUB s3, 1 / JUMP loop, bare and with what a firmware
// test attaches, or recorded for stepping back. The I/O loop shows what the
// checks cost where a program writes a port at every fourth instruction.
enum class TChecks { None, Coverage, ExitPort, ExpectOut, Recording };

void FirmwareLoop(benchmark::State& state, TChecks checks, bool io) {
    const auto& program = kPrograms[2];
    auto simulator =
        Load(TCoreKind::pbt3,
             io ? program.IoLoop
                : std::vector<std::uint32_t>{0x18001, 0x1A100, 0x0F200, 0x1C301, 0x34000});
    TMemMapItem input, output;
    input.Kind = TMemKind::Input;
    output.Kind = TMemKind::Output;
    simulator->SetPortItem(1, input);
    simulator->SetPortItem(2, output);
    TNullLog log;
    TSimulationIO ports(log);
    ports.Attach(*simulator);
    TNoSleepRunClock noSleep;
    simulator->SetRunClock(noSleep);
    std::optional<TCoverage> coverage;
    TExitPort exitPort(*simulator, 0xFF);
    // Port 3 is never written, so the expectation never stops the run.
    TPortExpectation expectation(*simulator, 3, "none", {});
    if (checks == TChecks::Coverage) coverage.emplace(*simulator);
    if (checks == TChecks::ExitPort) simulator->AttachObserver(exitPort);
    if (checks == TChecks::ExpectOut) simulator->AttachObserver(expectation);
    std::optional<TRunRecord> record;
    if (checks == TChecks::Recording) {
        record.emplace(*simulator, ports, nullptr);
        simulator->SetRecorder(&*record);
    }
    simulator->Start();
    ports.Build(*simulator);
    RunFor(*simulator, state);
    // What the record holds after a run far longer than it keeps.
    if (record) state.counters["record_bytes"] = static_cast<double>(record->Bytes());
}

void RegisterAll() {
    const std::pair<const char*, TChecks> checks[] = {{"Bare", TChecks::None},
                                                      {"Coverage", TChecks::Coverage},
                                                      {"ExitPort", TChecks::ExitPort},
                                                      {"ExpectOut", TChecks::ExpectOut},
                                                      {"Recording", TChecks::Recording}};
    for (auto [name, check] : checks)
        for (bool io : {false, true})
            benchmark::RegisterBenchmark(
                (std::string(io ? "FirmwareIoLoop/" : "FirmwareLoop/") + name).c_str(),
                FirmwareLoop, check, io)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    const char* names[] = {"PicoBlazeI", "PicoBlazeII", "PicoBlaze3", "PicoBlazeCR", "PicoBlaze6"};
    for (int i = 0; i < 5; ++i) {
        std::string core = names[i];
        benchmark::RegisterBenchmark(("AluLoop/NoSleep/" + core).c_str(), AluLoop, i, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("AluLoop/IdeRhythm/" + core).c_str(), AluLoop, i, true)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("AluLoop/IdleUart/" + core).c_str(), AluLoopWithIdleUart, i)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("IoLoop/NoSleep/" + core).c_str(), IoLoop, i, false)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("IoLoop/IdeRhythm/" + core).c_str(), IoLoop, i, true)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}

const int kRegistered = (RegisterAll(), 0);

} // namespace
} // namespace korvo
