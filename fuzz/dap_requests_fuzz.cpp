// The debug adapter's request handling over any sequence of requests (one
// JSON body a line) against a small launched program: no request, in any
// order, may crash it, and a run it starts always ends.

#include "assembler/driver.h"
#include "common/log.h"
#include "common/settings.h"
#include "dap/debug_adapter.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulation_session.h"

#include <QByteArray>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace korvo;
using namespace korvo::servers;

namespace {

// A loop that stores, calls and returns; a name for a register.
const std::vector<std::string> kProgram{"count   EQU   s3",        "        LOAD  count, 5",
                                        "again:  ADD   s0, 1",     "        STORE s0, (s0)",
                                        "        CALL  twice",     "        SUB   count, 1",
                                        "        JUMP  NZ, again", "done:   JUMP  done",
                                        "twice:  ADD   s1, 2",     "        RET"};

class TFuzzTarget final : public IDebugTarget {
public:
    TFuzzTarget() : simulator_(TCoreKind::pbt3), session_(simulator_, log_, &settings_) {
        TSynPicoBlaze parser;
        TAssemblyContext context{parser, &simulator_, log_, settings_};
        context.WriteOutput = false;
        std::vector<std::string> listing;
        if (!AssembleSource(context, source_, kProgram, listing)) std::abort();
        simulator_.SetInstructionLimit(5000);
        simulator_.Start();
    }
    TPicoBlazeSimulator& Simulator() override { return simulator_; }
    TSimulationSession& Session() override { return session_; }
    const std::string& Source() const override { return source_; }
    void Pump() override {}
    std::string TakeText() override { return {}; }
    std::string TakeErrors() override { return {}; }
    std::string TakeUartOutput() override { return {}; }
    int Finish() override {
        session_.FinishRun();
        return 0;
    }

private:
    std::string source_ = "/nonexistent/fuzz.psm";
    TNullLog log_;
    TMemorySettingsStore settings_;
    TPicoBlazeSimulator simulator_;
    TSimulationSession session_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDebugAdapter adapter(
        [](const QJsonObject&) {
            TLaunch launch;
            launch.Target = std::make_unique<TFuzzTarget>();
            return launch;
        },
        [](const QJsonObject&) {});
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& line : input.split('\n')) {
        QJsonDocument document = QJsonDocument::fromJson(line);
        if (!document.isObject()) continue;
        adapter.Handle(document.object());
        // The instruction limit ends every run within a few bursts.
        for (int burst = 0; adapter.Busy(); ++burst) {
            if (burst > 100) std::abort();
            adapter.Advance();
        }
        if (adapter.Done()) break;
    }
    adapter.Shutdown();
    return 0;
}
