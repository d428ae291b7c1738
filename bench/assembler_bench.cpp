// Assembles a generated PicoBlaze 3 program of 1024 instructions in about
// 3,000 lines (labels, equates, comments, blank lines) through the driver.
// items_per_second is source lines per second over both passes and phase 3.

#include "assembler/driver.h"
#include "simulator/simulator.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace korvo {
namespace {

std::vector<std::string> GenerateProgram() {
    std::vector<std::string> lines{
        "; Generated benchmark program for PicoBlaze 3",
        "; 1024 instructions with labels, equates and comments",
        "",
    };
    for (int i = 0; i < 48; ++i)
        lines.push_back("const_" + std::to_string(i) + "  EQU  $" + std::to_string(10 + i) +
                        " ; constant " + std::to_string(i));
    for (int i = 0; i < 8; ++i)
        lines.push_back("reg_" + std::to_string(i) + "    EQU  s" + std::to_string(i));
    for (int i = 0; i < 8; ++i)
        lines.push_back("port_" + std::to_string(i) + "   DSIO $" + std::to_string(10 + i));
    lines.push_back("");
    for (int i = 0; i < 1024; ++i) {
        if (i % 4 == 0) {
            lines.push_back("");
            lines.push_back("; block " + std::to_string(i / 4) + ": load, compute, test and loop");
            lines.push_back("label_" + std::to_string(i / 4) + ":");
        }
        lines.push_back("        ; step " + std::to_string(i));
        if (i % 8 == 7) lines.push_back("");
        std::string x = "reg_" + std::to_string(i % 8);
        std::string y = "s" + std::to_string((i + 3) % 8);
        std::string instruction;
        switch (i % 8) {
        case 0: instruction = "LOAD " + x + ", const_" + std::to_string(i % 48); break;
        case 1: instruction = "ADD " + x + ", " + y; break;
        case 2:
            instruction = "SUB " + x + ", (const_" + std::to_string(i % 48) + " + 1) & $FF";
            break;
        case 3: instruction = "JUMP NZ, label_" + std::to_string((i / 4 + 7) % 256); break;
        case 4: instruction = "IN " + x + ", port_" + std::to_string(i % 8); break;
        case 5: instruction = "OUT " + x + ", (" + y + ")"; break;
        case 6: instruction = "COMP " + x + ", 'A'"; break;
        default: instruction = "CALL C, label_" + std::to_string((i / 4 + 250) % 256); break;
        }
        lines.push_back("        " + instruction + "   ; instruction " + std::to_string(i));
    }
    return lines;
}

void BM_AssemblePicoBlaze3Program(benchmark::State& state) {
    const std::vector<std::string> program = GenerateProgram();
    TSynPicoBlaze parser;
    auto simulator = CreateSimulator(TCoreKind::pbt3);
    TNullLog log;
    TMemorySettingsStore settings;
    TAssemblyContext context{parser, simulator.get(), log, settings, nullptr};
    for (auto _ : state) {
        std::vector<std::string> listing;
        bool assembled = AssembleSource(context, "/tmp/bench.psm", program, listing);
        if (!assembled) state.SkipWithError("the benchmark program does not assemble");
        benchmark::DoNotOptimize(listing.data());
    }
    state.counters["lines"] = static_cast<double>(program.size());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(program.size()));
}
BENCHMARK(BM_AssemblePicoBlaze3Program)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace korvo
