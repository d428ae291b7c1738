// Writing the COE, MEM, VHDL, HEX and SVF files of a full 1024-word program.
#include "common/log.h"
#include "common/settings_layout.h"
#include "common/text_file.h"
#include "output/output_files.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace korvo {
namespace {

// A template with every block-RAM row, as a real program ROM template has.
std::string RomTemplate() {
    std::string text = "-- program ROM template\n{begin template}\nentity {name} is -- {pico}\n";
    char line[64];
    for (int row = 0; row < 64; ++row) {
        std::snprintf(line, sizeof line, "  INIT_%02X => X\"{INIT_%02X}\",\n", row, row);
        text += line;
    }
    for (int row = 0; row < 8; ++row) {
        std::snprintf(line, sizeof line, "  INITP_%02X => X\"{INITP_%02X}\",\n", row, row);
        text += line;
    }
    for (int slice = 1; slice <= 5; ++slice)
        for (int row = 0; row < 16; ++row) {
            std::snprintf(line, sizeof line, "  INIT_%X => X\"{INIT%d_%X}\",\n", row, slice, row);
            text += line;
        }
    return text + "end {name};\n";
}

void WriteAllFiles(benchmark::State& state, std::filesystem::path base) {
    if (!std::filesystem::is_directory(base)) {
        state.SkipWithError("no such folder");
        return;
    }
    auto dir = base / "korvo-output-bench";
    std::filesystem::create_directories(dir);
    WriteFileBytes((dir / "rom.vhd").string(), RomTemplate());

    TOutputJob job;
    job.CoreKind = TCoreKind::pbt3;
    for (std::uint32_t address = 0; address < 1024; ++address)
        job.Words.push_back((address * 0x2F1B7u + 0x15A3u) & 0x3FFFF);
    job.CoeFileName = (dir / "prog.coe").string();
    job.MemFileName = (dir / "prog.mem").string();
    job.VhdlSkeleton = (dir / "rom.vhd").string();
    job.VhdlTarget = (dir / "prog.vhd").string();
    job.VhdlEntity = "prog";
    job.HexFileName = (dir / "prog.hex").string();
    job.SvfFileName = (dir / "prog.svf").string();

    TMemorySettingsStore settings;
    settings::TScanChain chain;
    chain.Before = {{"XC9536", "8", "", "", ""}};
    chain.Target = settings::TScanTarget{settings::TargetPreset(TCoreKind::pbt3), 18, 16, false};
    settings::StoreScanChain(settings, chain);

    for (auto _ : state) {
        TNullLog log;
        WriteOutputFiles(job, TOutputEnvironment{log, settings, nullptr});
    }
    std::filesystem::remove_all(dir);
}
// The system's temporary folder (usually on disk, so replacing a file may
// wait for the disk), and a memory file system for the program's own cost.
BENCHMARK_CAPTURE(WriteAllFiles, TempFolder, std::filesystem::temp_directory_path())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteAllFiles, MemoryFolder, std::filesystem::path("/dev/shm"))
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvo
