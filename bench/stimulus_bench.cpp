// A stimulus file of ten million lines: the time to load it at a reset and
// read it all, and the memory the input port holds for it, against the
// file's own size (the counter memory_per_file_byte; the target is at most 2).
#include "common/text_file.h"
#include "simulator/io_models.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <malloc.h>
#include <string>

namespace korvo {
namespace {

constexpr int kLines = 10'000'000;

// Bytes the heap holds now, small blocks and mapped ones.
std::size_t HeapInUse() {
    struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::string MakeStimulusFile() {
    std::string path = (std::filesystem::temp_directory_path() / "korvo-stimulus-bench.txt");
    std::string text;
    text.reserve(static_cast<std::size_t>(kLines) * 5);
    for (int i = 0; i < kLines; ++i) {
        text += std::to_string(i % 256);
        text += "\r\n";
    }
    WriteFileBytes(path, text);
    return path;
}

void BM_StimulusFileOfTenMillionLines(benchmark::State& state) {
    static const std::string path = MakeStimulusFile();
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    double heldBytes = 0;
    std::int64_t sum = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        TInputPortModel port(0, "in", path, true);
        port.Reset({});
        heldBytes = static_cast<double>(HeapInUse() - before);
        for (int i = 0; i < kLines; ++i)
            sum += port.Read({});
    }
    benchmark::DoNotOptimize(sum);
    state.counters["file_bytes"] = fileBytes;
    state.counters["memory_per_file_byte"] = heldBytes / fileBytes;
    std::filesystem::remove(path);
}
BENCHMARK(BM_StimulusFileOfTenMillionLines)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace korvo
