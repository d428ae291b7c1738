#pragma once

// Helpers of the simulator tests: instruction words built from the
// assembler's encoding table (independently of the simulator's decode
// tables), a loaded simulator with a log, and a clock the test drives.

#include "common/core_kind.h"
#include "common/log.h"
#include "scratch_folder.h"
#include "simulator/debugger.h"
#include "simulator/simulation_session.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvo::test {

enum class TAlu { Load, And, Or, Xor, Test, Add, Addc, Sub, Subc, Comp };
enum class TShift {
    Sla = 0,
    Rl = 2,
    Slx = 4,
    Sl0 = 6,
    Sl1 = 7,
    Sra = 8,
    Srx = 0xA,
    Rr = 0xC,
    Sr0 = 0xE,
    Sr1 = 0xF
};
enum class TPortOp { In, Out, Fetch, Store };
// Condition codes as the assembler writes them.
inline constexpr int kAlways = 0, kZ = 4, kNZ = 5, kC = 6, kNC = 7;

// Words of one core.
class TEncoder {
public:
    explicit TEncoder(TCoreKind core) : core_(core) {}
    std::uint32_t Alu(TAlu op, int x, int k) const;
    std::uint32_t AluReg(TAlu op, int x, int y) const;
    std::uint32_t Shift(TShift op, int x) const;
    std::uint32_t Port(TPortOp op, int x, int port) const;
    std::uint32_t PortReg(TPortOp op, int x, int y) const;
    std::uint32_t Jump(int address, int condition = kAlways) const;
    std::uint32_t Call(int address, int condition = kAlways) const;
    std::uint32_t Ret(int condition = kAlways) const;
    std::uint32_t Reti(bool enable) const;
    std::uint32_t Eint() const;
    std::uint32_t Dint() const;

private:
    std::uint32_t Base(int index) const;
    std::uint32_t RegisterOperand(int y) const;
    int ConditionShift() const { return core_ == TCoreKind::pbtC ? 8 : 10; }
    TCoreKind core_;
};

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

// A simulator of one core with a session (state log lines, peripherals),
// a memory log and a test clock.
struct TMachine {
    explicit TMachine(TCoreKind core);
    ~TMachine();

    // Stores words from address 0 (or from start); word i gets line i + 1.
    void Load(const std::vector<std::uint32_t>& words, int start = 0);
    void Map(int port, TMemKind kind, std::uint8_t value = 0);
    // Loads and resets: paused at address 0 with the log emptied.
    void Start();
    // Steps n times.
    void Steps(int n);

    std::unique_ptr<TPicoBlazeDebugger> Sim;
    TStringListLog Log;
    TMemorySettingsStore Settings;
    TTestClock Clock;
    std::unique_ptr<TSimulationSession> Session;
    TEncoder Encode;
};

std::string CoreName(TCoreKind core);
inline const TCoreKind kAllCores[] = {TCoreKind::pbtI, TCoreKind::pbtII, TCoreKind::pbt3,
                                      TCoreKind::pbtC};

} // namespace korvo::test
