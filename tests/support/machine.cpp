#include "machine.h"

#include "assembler/driver.h"
#include "assembler/syn_picoblaze.h"

#include <stdexcept>

namespace korvo::test {

TMachine::TMachine(TCoreKind core) : Sim(CreateSimulator(core)) {
    Sim->SetRunClock(Clock);
    Session = std::make_unique<TSimulationSession>(*Sim, Log, &Settings);
}

TMachine::~TMachine() {
    Session.reset();
}

void TMachine::Assemble(const std::vector<std::string>& lines, const std::string& fileName) {
    TSynPicoBlaze parser;
    TStringListLog log;
    TAssemblyContext context{parser, Sim.get(), log, Settings, nullptr};
    std::vector<std::string> listing;
    if (!AssembleSource(context, fileName, lines, listing)) {
        std::string text;
        for (const auto& line : log.Lines)
            text += line + "\n";
        throw std::runtime_error("assembly failed:\n" + text);
    }
}

void TMachine::Start() {
    Sim->Start();
    Log.Lines.clear();
}

void TMachine::Steps(int n) {
    for (int i = 0; i < n; ++i)
        Sim->Step();
}

} // namespace korvo::test
