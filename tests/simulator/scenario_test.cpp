// Runs every tests/data/simulator/*.psm. Each section is assembled for each
// of its cores, started (paused at 0, log emptied) and driven by its
// ";>" lines in order:
//   set K=V ...              sets state
//   expect K=V ...           checks state
//   K=V ... -> K=V ...       sets, steps once, checks
//   step [N]   run [N]       N steps; a run of at most N (100000) instructions
//   reset  stepover  flush (the pending port logs)  clear (leaves simulation)
//   runto ADDRESS   break ADDRESS (toggles a breakpoint on its line)
//   record on|off   back [N] [refused]   runback REASON   stepping back
//   feed PORT "TEXT"         the host sends TEXT to the UART of PORT
//   log TEXT                 the next log line is TEXT; a section must show
//                            every line its run logs
//   map PORT KIND [VALUE]    replaces a port's record, then starts again
//   scratchpad BYTES         the session's scratch pad size, then starts again
//   write NAME "TEXT"  file NAME "TEXT"  remove NAME   a file of the folder
//                            (a log TEXT writes the folder as @/; messages of
//                            the port models are logged as "message: TEXT")
// State: sN (register, hex), C Z IE savedC savedZ ack edge irq (interrupt
// line) PC SP count recorded (steps back) state error padsize, and with an
// index stack[I] port[P] (record value) in[P] out[P] io[P] pad[A]
// executed[A] info[A] (LineInfo of the line of address A) pending[P] (bytes
// the UART of P has still to receive). Numbers are decimal or $hex; states
// by name.
// A core with two banks adds bank (0 A, 1 B), a[N] and b[N] (the registers
// of bank A and B), flags[I] (what stack entry I keeps: bit 0 Z, 1 C, 2 bank
// B) and k[P] (constant port P); ";; program-size: 1K", ";; vector: $200",
// ";; hwbuild: $42" and ";; pad: 128" build its section's core.
#include "common/core_options.h"
#include "data_files.h"
#include "machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace korvo::test {
namespace {

namespace fs = std::filesystem;

struct TField {
    using TGet = std::function<std::int64_t(TMachine&, int)>;
    using TSet = std::function<void(TMachine&, int, std::int64_t)>;
    TField(TGet get, TSet set = nullptr) : Get(std::move(get)), Set(std::move(set)) {}
    TGet Get;
    TSet Set;
};

std::int64_t ModelValue(const TOutputPortModel* model) {
    return model ? model->Value() : -1;
}

// A flag of the core, read and set through its accessors.
TField Flag(bool (TPicoBlazeSimulator::*get)() const, void (TPicoBlazeSimulator::*set)(bool)) {
    return {[get](TMachine& m, int) -> std::int64_t { return (*m.Sim.*get)(); },
            [set](TMachine& m, int, std::int64_t v) { (*m.Sim.*set)(v != 0); }};
}

TField BankRegister(int bank) {
    return {[bank](TMachine& m, int n) -> std::int64_t { return m.Sim->BankRegister(bank, n); },
            [bank](TMachine& m, int n, std::int64_t v) {
                m.Sim->SetBankRegister(bank, n, std::int32_t(v));
            }};
}

const std::map<std::string, TField> kFields = {
    {"s",
     {[](TMachine& m, int n) -> std::int64_t { return m.Sim->Register(n); },
      [](TMachine& m, int n, std::int64_t v) { m.Sim->SetRegister(n, std::int32_t(v)); }}},
    {"C", Flag(&TPicoBlazeSimulator::CarryFlag, &TPicoBlazeSimulator::SetCarryFlag)},
    {"Z", Flag(&TPicoBlazeSimulator::ZeroFlag, &TPicoBlazeSimulator::SetZeroFlag)},
    {"IE", Flag(&TPicoBlazeSimulator::InterruptEnable, &TPicoBlazeSimulator::SetInterruptEnable)},
    {"savedC", Flag(&TPicoBlazeSimulator::SavedCarry, &TPicoBlazeSimulator::SetSavedCarry)},
    {"savedZ", Flag(&TPicoBlazeSimulator::SavedZero, &TPicoBlazeSimulator::SetSavedZero)},
    {"ack", Flag(&TPicoBlazeSimulator::InterruptAck, &TPicoBlazeSimulator::SetInterruptAck)},
    {"edge", Flag(&TPicoBlazeSimulator::InterruptEdge, &TPicoBlazeSimulator::SetInterruptEdge)},
    {"irq", Flag(&TPicoBlazeSimulator::InterruptLine, &TPicoBlazeSimulator::SetInterruptLine)},
    {"PC", {[](TMachine& m, int) -> std::int64_t { return m.Sim->PC(); }}},
    {"SP", {[](TMachine& m, int) -> std::int64_t { return m.Sim->SP(); }}},
    {"count", {[](TMachine& m, int) { return m.Sim->InstructionCount(); }}},
    {"recorded", {[](TMachine& m, int) { return m.Session->RecordedSteps(); }}},
    {"state", {[](TMachine& m, int) -> std::int64_t { return m.Sim->State(); }}},
    {"error", {[](TMachine& m, int) -> std::int64_t { return m.Sim->ErrorCode(); }}},
    {"padsize", {[](TMachine& m, int) -> std::int64_t { return m.Sim->ScratchPadSize(); }}},
    {"stack", {[](TMachine& m, int i) -> std::int64_t { return m.Sim->StackEntry(i); }}},
    {"port",
     {[](TMachine& m, int p) -> std::int64_t { return m.Sim->GetPortItem(p).Value; },
      [](TMachine& m, int p, std::int64_t v) { m.Session->IO().EditMemoryCell(p, int(v)); }}},
    {"in",
     {[](TMachine& m, int p) -> std::int64_t {
          auto* model = m.Session->IO().InputPort(p);
          return model ? model->Value() : -1;
      },
      [](TMachine& m, int p, std::int64_t v) {
          m.Session->IO().InputPort(p)->SetValue(std::int32_t(v));
      }}},
    {"out", {[](TMachine& m, int p) { return ModelValue(m.Session->IO().OutputPort(p)); }}},
    {"io", {[](TMachine& m, int p) { return ModelValue(m.Session->IO().BidirectionalPort(p)); }}},
    {"bank",
     {[](TMachine& m, int) -> std::int64_t { return m.Sim->ActiveBank(); },
      [](TMachine& m, int, std::int64_t v) { m.Sim->SelectBank(int(v)); }}},
    {"a", BankRegister(0)},
    {"b", BankRegister(1)},
    {"flags", {[](TMachine& m, int i) -> std::int64_t { return m.Sim->StackEntryFlags(i); }}},
    {"k", {[](TMachine& m, int p) { return ModelValue(m.Session->IO().ConstantPort(p)); }}},
    {"pending", {[](TMachine& m, int p) -> std::int64_t {
         return std::int64_t(m.Session->IO().UARTAt(p)->PendingInput());
     }}},
    {"pad",
     {[](TMachine& m, int a) -> std::int64_t { return m.Session->IO().ScratchPad().Read(a); }}},
    {"executed", {[](TMachine& m, int a) -> std::int64_t { return m.Sim->IsExecuted(a); }}},
    {"info",
     {[](TMachine& m, int a) -> std::int64_t { return m.Sim->LineInfo(m.Sim->AddressToLine(a)); }}},
};

const std::map<std::string, std::int64_t> kNamedValues = {
    {"idle", ssIdle},
    {"paused", ssPaused},
    {"running", ssRunning},
    {"halted", ssHalted},
    {"none", std::int64_t(TMemKind::None)},
    {"ram", std::int64_t(TMemKind::RAM)},
    {"rom", std::int64_t(TMemKind::ROM)},
    {"input", std::int64_t(TMemKind::Input)},
    {"output", std::int64_t(TMemKind::Output)},
    {"io", std::int64_t(TMemKind::IO)},
    {"inout", std::int64_t(TMemKind::InOut)},
    {"blockram", std::int64_t(TMemKind::BlockRAM)},
    {"uart", std::int64_t(TMemKind::UART)},
};

std::int64_t Number(const std::string& text) {
    if (auto named = kNamedValues.find(text); named != kNamedValues.end()) return named->second;
    if (text.starts_with("$")) return std::stoll(text.substr(1), nullptr, 16);
    return std::stoll(text);
}

// "s1F" is register 1F, "out[$06]" field out at 6, "C" field C.
std::pair<const TField&, int> FieldOf(const std::string& key) {
    if (key.size() >= 2 && key.size() <= 3 && key[0] == 's' &&
        key.find_first_not_of("0123456789ABCDEFabcdef", 1) == std::string::npos)
        return {kFields.at("s"), std::stoi(key.substr(1), nullptr, 16)};
    auto open = key.find('[');
    if (open == std::string::npos) return {kFields.at(key), 0};
    return {kFields.at(key.substr(0, open)),
            int(Number(key.substr(open + 1, key.size() - open - 2)))};
}

class TScenario {
public:
    TScenario(TCoreKind core, const TGoldenSection& section, const std::string& path)
        : machine_(core), path_(path) {
        machine_.Session->IO().OnMessage = [this](const std::string& text) {
            machine_.Log.AddLogLine("message: " + text);
        };
        if (CoreDescription(core).HasBuildOptions) {
            TCoreOptions options = DefaultCoreOptions(core);
            auto option = [&](const char* name, int& value) {
                if (auto found = section.Options.find(name); found != section.Options.end())
                    value = int(Number(found->second));
            };
            if (auto size = section.Options.find("program-size"); size != section.Options.end())
                options.ProgramSize = *ParseProgramSize(size->second);
            option("vector", options.InterruptVector);
            option("hwbuild", options.HwBuild);
            option("pad", options.ScratchPadSize);
            machine_.Sim->SetCoreOptions(options);
        }
        machine_.Assemble(section.Lines, path);
        machine_.Start();
    }

    void Command(const std::string& line) {
        std::string dir = fs::path(path_).parent_path().string() + "/";
        if (line.starts_with(" log ")) {
            std::string text = line.substr(5);
            for (auto at = text.find("@/"); at != std::string::npos;
                 at = text.find("@/", at + dir.size()))
                text.replace(at, 2, dir);
            ASSERT_LT(seen_, machine_.Log.Lines.size()) << "no log line " << text;
            EXPECT_EQ(machine_.Log.Lines[seen_++], text);
            return;
        }
        auto fields = SplitFields(line);
        if (fields.empty()) return;
        auto arrow = std::find(fields.begin(), fields.end(), "->");
        if (arrow != fields.end() || fields[0].find('=') != std::string::npos) {
            Assign({fields.begin(), arrow}, true);
            machine_.Sim->Step();
            Assign({arrow + (arrow != fields.end()), fields.end()}, false);
            return;
        }
        const std::string& name = fields[0];
        auto& sim = *machine_.Sim;
        auto number = [&](int n, std::int64_t otherwise) {
            return fields.size() > std::size_t(n) ? Number(fields[n]) : otherwise;
        };
        if (name == "set" || name == "expect") {
            Assign({fields.begin() + 1, fields.end()}, name == "set");
        } else if (name == "step") {
            machine_.Steps(int(number(1, 1)));
        } else if (name == "run") {
            sim.SetInstructionLimit(sim.InstructionCount() + number(1, 100000));
            sim.Run();
        } else if (name == "reset") {
            sim.Reset();
        } else if (name == "burst") {
            EXPECT_EQ(StopReasonName(machine_.Session->RunBurst(number(1, 1))), fields.at(2));
        } else if (name == "pause") {
            sim.Pause();
        } else if (name == "aimover") {
            sim.AimStepOver();
        } else if (name == "aimto") {
            sim.AimRunToLine(sim.AddressToLine(int(number(1, 0))));
        } else if (name == "stepover") {
            sim.StepOver();
        } else if (name == "runto") {
            sim.RunToLine(sim.AddressToLine(int(number(1, 0))));
        } else if (name == "break") {
            sim.ToggleBreakpoint(sim.AddressToLine(int(number(1, 0))));
        } else if (name == "record") {
            machine_.Session->SetRecording(fields.at(1) == "on");
        } else if (name == "back") {
            bool refused = fields.size() > 2 && fields[2] == "refused";
            for (auto n = number(1, 1); n > 0; --n)
                EXPECT_EQ(machine_.Session->StepBack(), !refused);
        } else if (name == "feed") {
            machine_.Session->IO().UARTAt(int(Number(fields.at(1))))->Feed(fields.at(2));
        } else if (name == "runback") {
            EXPECT_EQ(StopReasonName(machine_.Session->RunBack()), fields.at(1));
        } else if (name == "flush") {
            machine_.Session->IO().FlushPendingLogs();
        } else if (name == "clear") {
            sim.ClearCodeImage();
        } else if (name == "map") {
            TMemMapItem item;
            item.Kind = TMemKind(Number(fields.at(2)));
            item.Value = std::uint8_t(number(3, 0));
            sim.SetPortItem(int(Number(fields.at(1))), item);
            Restart();
        } else if (name == "scratchpad") {
            machine_.Session->SetScratchPadSizeOverride(int(number(1, 0)));
            Restart();
        } else if (name == "write") {
            WriteBytes(dir + fields.at(1), fields.at(2));
        } else if (name == "remove") {
            fs::remove(dir + fields.at(1));
        } else if (name == "file") {
            EXPECT_EQ(ReadBytes(dir + fields.at(1)), fields.at(2));
        } else {
            FAIL() << "unknown command " << name;
        }
    }

    // Every log line was looked at.
    void Finish() {
        for (std::size_t i = seen_; i < machine_.Log.Lines.size(); ++i)
            ADD_FAILURE() << "unexpected log line " << machine_.Log.Lines[i];
    }

private:
    void Restart() {
        machine_.Start();
        seen_ = 0;
    }

    void Assign(const std::vector<std::string>& pairs, bool set) {
        for (const auto& pair : pairs) {
            auto equals = pair.find('=');
            ASSERT_NE(equals, std::string::npos) << pair;
            auto [field, index] = FieldOf(pair.substr(0, equals));
            std::int64_t value = Number(pair.substr(equals + 1));
            if (set) {
                ASSERT_TRUE(field.Set) << pair << " cannot be set";
                field.Set(machine_, index, value);
            } else {
                EXPECT_EQ(field.Get(machine_, index), value) << pair;
            }
        }
    }

    TMachine machine_;
    std::string path_;
    std::size_t seen_ = 0;
};

class Scenario : public ::testing::TestWithParam<std::string> {};

TEST_P(Scenario, RunsAsAnnotated) {
    std::string path = DataCopyPath("simulator", GetParam());
    TGoldenSource source = ReadGoldenSource(path);
    for (const auto& section : source.Sections) {
        for (TCoreKind core : section.Cores) {
            SCOPED_TRACE(GetParam() + " core " + std::string(CoreDescription(core).Name) +
                         " from line " + std::to_string(section.FileLines.front()));
            TScenario scenario(core, section, path);
            for (std::size_t i = 0; i < section.Lines.size(); ++i) {
                const std::string& line = section.Lines[i];
                if (!line.starts_with(";>")) continue;
                SCOPED_TRACE(GetParam() + ":" + std::to_string(section.FileLines[i]) + ": " + line);
                scenario.Command(line.substr(2));
                if (HasFatalFailure()) return;
            }
            scenario.Finish();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Scenario, ::testing::ValuesIn(DataFiles("simulator", {""}, ".psm")),
                         [](const auto& info) {
                             return TestNameOf(info.param.substr(0, info.param.size() - 4));
                         });

} // namespace
} // namespace korvo::test
