#pragma once

// A simulator of one core with its session, a log, settings in memory and a
// clock the test drives; programs come in as source lines.

#include "common/log.h"
#include "common/settings.h"
#include "simulator/simulation_session.h"
#include "simulator/simulator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvo::test {

inline const TCoreKind kAllCores[] = {TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3,
                                      TCoreKind::pbtC, TCoreKind::pbt6};

// Runs without sleeping; every reading of the clock advances it by Step ms.
class TTestClock : public IRunClock {
public:
    std::int64_t NowMilliseconds() override { return now_ += Step; }
    void Sleep(int milliseconds) override {
        Sleeps.push_back(milliseconds);
        now_ += milliseconds;
    }
    std::int64_t Step = 0;
    std::vector<int> Sleeps;

private:
    std::int64_t now_ = 0;
};

struct TMachine {
    explicit TMachine(TCoreKind core);
    ~TMachine();

    // Assembles the lines into the simulator (the file name places the files
    // that directives name); throws with the log when the assembly fails.
    void Assemble(const std::vector<std::string>& lines, const std::string& fileName = "t.psm");
    // Loads and resets: paused at address 0 with the log emptied.
    void Start();
    void Steps(int n);

    std::unique_ptr<TPicoBlazeSimulator> Sim;
    TStringListLog Log;
    TMemorySettingsStore Settings;
    TTestClock Clock;
    std::unique_ptr<TSimulationSession> Session;
};

} // namespace korvo::test
