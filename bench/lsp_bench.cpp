// The language server on a generated PicoBlaze 6 program of 5,000 lines
// (equates, ports, labels, instructions, comments): the diagnostics after a
// one-character change (the assembler over the whole text; the names it
// defines: they are collected after the diagnostics are out), and a
// completion right after a change (on the names collected before it). Each
// iteration is one change and its answer.

#include "common/hex_text.h"
#include "lsp/lsp_service.h"

#include <benchmark/benchmark.h>

#include <QJsonArray>

#include <string>

namespace korvo::servers::lsp {
namespace {

constexpr int kLines = 5000;

std::string GenerateProgram() {
    std::string text = "; generated program for the language server\n";
    int lines = 1;
    for (int i = 0; i < 40; ++i, ++lines)
        text += "limit_" + std::to_string(i) + "  EQU  " + std::to_string(i + 10) + "\n";
    for (int i = 0; i < 8; ++i, ++lines)
        text += "port_" + std::to_string(i) + "   DSIO $" + std::to_string(10 + i) + "\n";
    for (int i = 0; lines < kLines; ++i) {
        if (i % 4 == 0) {
            text += "label_" + std::to_string(i / 4) + ":  ; block " + std::to_string(i) + "\n";
            ++lines;
        }
        switch (i % 4) {
        case 0:
            text +=
                "        LOAD s" + HexText(i % 16, 1) + ", limit_" + std::to_string(i % 40) + "\n";
            break;
        case 1: text += "        ADD s1, 1 ; count\n"; break;
        case 2: text += "        OUT s1, port_" + std::to_string(i % 8) + "\n"; break;
        case 3: text += "        JUMP NZ, label_" + std::to_string(i / 4) + "\n"; break;
        }
        ++lines;
    }
    return text;
}

// The service with the program open and analysed once.
struct TOpenProgram {
    TMemorySettingsStore Settings;
    TLanguageService Service{Settings, TCoreKind::pbt6};
    std::string Uri = "untitled:bench";
    int Version = 1;

    TOpenProgram() {
        Service.Documents().Open(Uri, Version, GenerateProgram());
        Service.Diagnose(Uri);
        Service.Prepare(Uri);
    }
    // Types one character at the start of line 100 (and takes it back the
    // next time), as a didChange with a range.
    void Change() {
        QJsonObject start{{"line", 100}, {"character", 0}};
        QJsonObject end{{"line", 100}, {"character", Version % 2 == 0 ? 1 : 0}};
        QJsonObject change{{"range", QJsonObject{{"start", start}, {"end", end}}},
                           {"text", Version % 2 == 0 ? "" : " "}};
        Service.Documents().Change(Uri, ++Version, QJsonArray{change});
    }
};

void DiagnosticsAfterChange(benchmark::State& state) {
    TOpenProgram program;
    for (auto _ : state) {
        program.Change();
        auto published = program.Service.Diagnose(program.Uri);
        if (!published.front().Diagnostics.isEmpty()) state.SkipWithError("the program has errors");
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(DiagnosticsAfterChange)->Unit(benchmark::kMillisecond);

void CompletionAfterChange(benchmark::State& state) {
    TOpenProgram program;
    QJsonObject params{{"textDocument", QJsonObject{{"uri", QString::fromStdString(program.Uri)}}},
                       {"position", QJsonObject{{"line", 100}, {"character", 9}}}};
    for (auto _ : state) {
        program.Change();
        benchmark::DoNotOptimize(program.Service.Completion(params));
    }
}
BENCHMARK(CompletionAfterChange)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvo::servers::lsp
