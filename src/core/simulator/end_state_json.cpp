#include "simulator/end_state_json.h"

#include "common/json_writer.h"
#include "simulator/device_kinds.h"
#include "simulator/exit_port.h"
#include "simulator/io_router.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/port_expectation.h"
#include "simulator/sim_errors.h"

#include <string_view>

namespace korvo {

namespace {

struct TEndState {
    const TPicoBlazeSimulator& Simulator;
    TSimulationIO& IO;
    const TRunOutcome& Run;
};

using TJson = TJsonWriter;
using TState = const TEndState&;

void Optional(TJson& json, const std::optional<std::int32_t>& value) {
    value ? json.Integer(*value) : json.Null();
}

// The value a device's state shows for its ports.
std::optional<std::int32_t> ShownValue(const IPortDevice* device) {
    if (!device) return std::nullopt;
    for (const auto& [key, value] : device->Describe().State)
        if (key == "value") return static_cast<std::int32_t>(value);
    return std::nullopt;
}

// Every mapped port: the value of the device that takes its writes, or of
// the one that serves its reads; a port with a device of each also shows
// the input's value. RAM and ROM cells hold theirs in the map.
void Ports(TJson& json, TState state) {
    json.BeginArray();
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = state.Simulator.GetPortItem(port);
        if (item.Kind == TMemKind::None) continue;
        json.BeginObject().Key("port").Integer(port).Key("kind").String(
            DeviceKindOf(item.Kind).Name);
        json.Key("name").String(item.OutName.empty() ? item.InName : item.OutName);
        const IPortDevice* reader = state.IO.ReaderAt(port);
        const IPortDevice* writer = state.IO.WriterAt(port);
        std::optional<std::int32_t> value = ShownValue(writer ? writer : reader);
        if (item.Kind == TMemKind::RAM || item.Kind == TMemKind::ROM) value = item.Value;
        json.Key("value");
        Optional(json, value);
        if (reader && writer && reader != writer) {
            json.Key("input");
            Optional(json, ShownValue(reader));
        }
        json.EndObject();
    }
    json.EndArray();
}

// The first UART (the one of the lowest port) as it describes itself.
void Uart(TJson& json, TState state) {
    if (state.IO.UARTs().empty()) {
        json.Null();
        return;
    }
    json.BeginObject();
    for (const auto& [key, value] : state.IO.UARTs().front()->Describe().State)
        json.Key(key).Integer(value);
    json.EndObject();
}

void Exit(TJson& json, TState state) {
    const TExitPort* exit = state.Run.ExitPort;
    if (!exit) {
        json.Null();
        return;
    }
    json.BeginObject().Key("port").Integer(exit->Port()).Key("value");
    Optional(json, exit->Value());
    json.EndObject();
}

void Expectations(TJson& json, TState state) {
    json.BeginArray();
    for (const auto* expectation : state.Run.Expectations) {
        json.BeginObject()
            .Key("port")
            .Integer(expectation->Port())
            .Key("file")
            .String(expectation->File())
            .Key("expected")
            .Integer(static_cast<std::int64_t>(expectation->ExpectedCount()))
            .Key("matched")
            .Integer(static_cast<std::int64_t>(expectation->Matched()))
            .Key("mismatch");
        if (const auto& mismatch = expectation->Mismatch()) {
            json.BeginObject().Key("file_line").Integer(mismatch->FileLine).Key("expected");
            Optional(json, mismatch->Expected);
            json.Key("got");
            Optional(json, mismatch->Got);
            json.Key("instructions").Integer(mismatch->InstructionCount).Key("source_line");
            Optional(json, mismatch->SourceLine >= 0 ? std::optional(mismatch->SourceLine)
                                                     : std::nullopt);
            json.EndObject();
        } else {
            json.Null();
        }
        json.EndObject();
    }
    json.EndArray();
}

std::vector<std::int64_t> Values(int count, auto value) {
    std::vector<std::int64_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(value(i));
    return values;
}

// The fields in the order they are written: one line each.
const std::pair<const char*, void (*)(TJson&, TState)> kFields[] = {
    {"version", [](TJson& j, TState) { j.Integer(kEndStateJsonVersion); }},
    {"source", [](TJson& j, TState s) { j.String(s.Run.Source); }},
    {"core",
     [](TJson& j, TState s) { j.String(CoreDescription(s.Simulator.CoreKind()).CommandName); }},
    {"stop_reason", [](TJson& j, TState s) { j.String(StopReasonName(s.Simulator.StopReason())); }},
    {"error",
     [](TJson& j, TState s) {
         s.Simulator.State() == ssHalted ? j.String(SimulatorErrorMessage(s.Simulator.ErrorCode()))
                                         : j.Null();
     }},
    {"instructions", [](TJson& j, TState s) { j.Integer(s.Simulator.InstructionCount()); }},
    {"frequency_mhz", [](TJson& j, TState s) { j.Integer(s.Run.FrequencyMHz); }},
    {"time_seconds",
     [](TJson& j, TState s) {
         j.Number(static_cast<double>(s.Simulator.InstructionCount()) * 2.0 /
                  (s.Run.FrequencyMHz * 1e6));
     }},
    {"pc", [](TJson& j, TState s) { j.Integer(s.Simulator.PC()); }},
    {"sp", [](TJson& j, TState s) { j.Integer(s.Simulator.SP()); }},
    {"stack",
     [](TJson& j, TState s) {
         j.Integers(Values(s.Simulator.SP(), [&](int i) { return s.Simulator.StackEntry(i); }));
     }},
    {"registers",
     [](TJson& j, TState s) {
         j.Integers(
             Values(s.Simulator.RegisterCount(), [&](int n) { return s.Simulator.Register(n); }));
     }},
    {"banks",
     [](TJson& j, TState s) {
         j.BeginArray();
         for (int bank = 0; bank < s.Simulator.RegisterBanks(); ++bank)
             j.Integers(Values(s.Simulator.RegisterCount(),
                               [&](int n) { return s.Simulator.BankRegister(bank, n); }));
         j.EndArray();
     }},
    {"active_bank", [](TJson& j, TState s) { j.Integer(s.Simulator.ActiveBank()); }},
    {"zero", [](TJson& j, TState s) { j.Boolean(s.Simulator.ZeroFlag()); }},
    {"carry", [](TJson& j, TState s) { j.Boolean(s.Simulator.CarryFlag()); }},
    {"saved_zero", [](TJson& j, TState s) { j.Boolean(s.Simulator.SavedZero()); }},
    {"saved_carry", [](TJson& j, TState s) { j.Boolean(s.Simulator.SavedCarry()); }},
    {"interrupt_enable", [](TJson& j, TState s) { j.Boolean(s.Simulator.InterruptEnable()); }},
    {"scratch_pad",
     [](TJson& j, TState s) {
         j.Integers(
             Values(s.IO.ScratchPad().Size(), [&](int i) { return s.IO.ScratchPad().Read(i); }));
     }},
    {"ports", Ports},
    {"uart", Uart},
    {"exit", Exit},
    {"expectations", Expectations},
};

} // namespace

void WriteEndStateJson(std::ostream& out, const TPicoBlazeSimulator& simulator, TSimulationIO& io,
                       const TRunOutcome& outcome) {
    TEndState state{simulator, io, outcome};
    TJsonWriter json(out);
    json.BeginObject();
    for (const auto& [name, write] : kFields) {
        json.Key(name);
        write(json, state);
    }
    json.EndObject();
}

} // namespace korvo
