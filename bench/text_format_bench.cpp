// Formatting and importing whole sources: the Format command and the
// settings dialog's sample run the formatter over every line at once.
#include "assembler/syn_picoblaze.h"
#include "text/kcpsm_import.h"
#include "text/source_formatter.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Repeat(const std::vector<std::string>& block, std::size_t lines) {
    std::vector<std::string> text;
    text.reserve(lines);
    while (text.size() < lines)
        text.push_back(block[text.size() % block.size()]);
    return text;
}

const std::vector<std::string> kDialectBlock{"; counts the keys",
                                             "leds DSOUT $80, \"leds.txt\"",
                                             "limit equ (max+1)*2",
                                             "start: load s0,$f ;clear",
                                             "   ADD s1 , 'A'",
                                             "   JUMP NZ,start",
                                             "",
                                             "   OUT s0, (s1)   ;; raw"};

const std::vector<std::string> kKcpsmBlock{
    "; counts the keys",       "CONSTANT leds, 80",  "NAMEREG s5, counter",
    "start: LOAD s0, 0A ; go", "loop: ADDCY s1, 01", "COMPARE s0, 64",
    "ENABLE INTERRUPT",        "JUMP NZ, loop",      "OUTPUT s0, (s1)"};

// Names that need renaming: letter case, a condition, a leading digit, a
// register that gets a second name, comments glued to words.
const std::vector<std::string> kKcpsmRenameBlock{"CONSTANT character_a, 61",
                                                 "CONSTANT character_A, 41;upper",
                                                 "NAMEREG s4, c",
                                                 "1char: LOAD c, character_A",
                                                 "NAMEREG c, count",
                                                 "SUB count, 01;",
                                                 "JUMP NZ, 1char",
                                                 "NAMEREG count, s4",
                                                 "RETURN;"};

void BM_FormatLines(benchmark::State& state) {
    korvo::TSynPicoBlaze scanner;
    auto lines = Repeat(kDialectBlock, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(korvo::FormatLines(scanner, lines, korvo::TCoreKind::pbt3, {}));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FormatLines)->Arg(1000)->Arg(10000);

void BM_ImportKcpsm(benchmark::State& state) {
    korvo::TSynPicoBlaze scanner;
    auto lines = Repeat(kKcpsmBlock, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            korvo::ConvertKcpsmSource(scanner, lines, korvo::TCoreKind::pbt3, {}));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportKcpsm)->Arg(1000)->Arg(10000);

void BM_ImportKcpsmWithRenames(benchmark::State& state) {
    korvo::TSynPicoBlaze scanner;
    auto lines = Repeat(kKcpsmRenameBlock, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            korvo::ImportKcpsmSource(scanner, lines, korvo::TCoreKind::pbt3, {}));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportKcpsmWithRenames)->Arg(1000)->Arg(10000);

} // namespace
