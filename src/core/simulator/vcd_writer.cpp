#include "simulator/vcd_writer.h"

#include "common/hex_text.h"
#include "korvo_version.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/status_strings.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace korvo {

namespace {

// Identifier codes: the printable characters '!' to '~', as digits of a
// number in base 94.
std::string IdentifierCode(std::size_t index) {
    std::string code;
    do {
        code += static_cast<char>('!' + index % 94);
        index /= 94;
    } while (index > 0);
    return code;
}

int BitsFor(int count) {
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

std::uint32_t Masked(std::int64_t value, int width) {
    return static_cast<std::uint32_t>(value) & (width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1));
}

// A port's signal names: its number and, when it has one, its declared name.
std::string PortSignalName(int port, const TMemMapItem& item) {
    std::string name = "port_" + HexText(port, 2);
    const std::string& declared = item.OutName.empty() ? item.InName : item.OutName;
    for (char c : declared)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return name;
    return declared.empty() ? name : name + "_" + declared;
}

} // namespace

TVcdWriter::TVcdWriter(const TPicoBlazeSimulator& simulator, std::ostream& out,
                       std::int32_t frequencyMHz, std::int64_t instructionLimit)
    : simulator_(simulator), out_(out), frequencyMHz_(frequencyMHz > 0 ? frequencyMHz : 1),
      limit_(instructionLimit) {
    portSignals_.fill(-1);
    constantSignals_.fill(-1);
}

void TVcdWriter::AddSignal(std::string scope, std::string name, int width) {
    signals_.push_back({std::move(scope), std::move(name), width, IdentifierCode(signals_.size())});
}

void TVcdWriter::AddState(std::string name, int width, TSample sample) {
    states_.emplace_back(signals_.size(), std::move(sample));
    AddSignal("core", std::move(name), width);
}

void TVcdWriter::Begin() {
    const TCoreDescription& core = CoreDescription(simulator_.CoreKind());
    // One line per signal of the core.
    AddState("pc", BitsFor(simulator_.CodeSize()), [](const auto& s) { return s.PC(); });
    AddState("instr", core.WordBits, [](const auto& s) {
        TCodeEntry entry;
        s.GetCodeEntry(s.PC(), entry);
        return entry.Word;
    });
    // A core with two banks: "a_s0" ... "b_sF" and which bank is active.
    const int banks = simulator_.RegisterBanks();
    for (int bank = 0; bank < banks; ++bank)
        for (int n = 0; n < simulator_.RegisterCount(); ++n)
            AddState((banks > 1 ? std::string(1, static_cast<char>('a' + bank)) + "_" : "") +
                         RegisterName(simulator_, n),
                     8, [bank, n](const auto& s) { return s.BankRegister(bank, n); });
    if (banks > 1) AddState("bank", 1, [](const auto& s) { return s.ActiveBank(); });
    AddState("zero", 1, [](const auto& s) { return s.ZeroFlag(); });
    AddState("carry", 1, [](const auto& s) { return s.CarryFlag(); });
    AddState("interrupt", 1, [](const auto& s) { return s.InterruptLine() || s.InterruptEdge(); });
    AddState("ie", 1, [](const auto& s) { return s.InterruptEnable(); });

    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item = simulator_.GetPortItem(port);
        if (item.Kind == TMemKind::None) continue;
        portSignals_[port] = static_cast<int>(signals_.size());
        std::string name = PortSignalName(port, item);
        AddSignal("ports", name, 8);
        signals_.back().Value = item.Value;
        AddSignal("ports", name + "_rd", 1);
        AddSignal("ports", name + "_wr", 1);
    }
    // The constant ports of OUTK the program writes: a value and its strobe.
    std::uint16_t constantPorts = simulator_.ConstantPortsUsed();
    for (int port = 0; port < static_cast<int>(constantSignals_.size()); ++port) {
        if (!(constantPorts & (1u << port))) continue;
        constantSignals_[port] = static_cast<int>(signals_.size());
        AddSignal("ports", "outk_" + HexText(port, 1), 8);
        AddSignal("ports", "outk_" + HexText(port, 1) + "_wr", 1);
    }

    out_ << "$version " << kApplicationTitle << " " << kProductVersion << " $end\n"
         << "$timescale 1ps $end\n"
         << "$scope module " << core.Name << " $end\n";
    std::string scope;
    for (const auto& signal : signals_) {
        if (signal.Scope != scope) {
            if (!scope.empty()) out_ << "$upscope $end\n";
            scope = signal.Scope;
            out_ << "$scope module " << scope << " $end\n";
        }
        out_ << "$var wire " << signal.Width << " " << signal.Id << " " << signal.Name;
        if (signal.Width > 1) out_ << " [" << signal.Width - 1 << ":0]";
        out_ << " $end\n";
    }
    out_ << "$upscope $end\n$upscope $end\n$enddefinitions $end\n";

    Sample();
    out_ << "#0\n$dumpvars\n";
    for (auto& signal : signals_) {
        signal.Shown = signal.Value;
        WriteValue(signal);
    }
    out_ << "$end\n";
    lastTime_ = 0;
    started_ = true;
}

void TVcdWriter::Sample() {
    for (const auto& [index, sample] : states_) {
        auto& signal = signals_[index];
        signal.Value = Masked(sample(simulator_), signal.Width);
    }
}

void TVcdWriter::BeforeCycle() {
    if (finished_) return;
    countBefore_ = simulator_.InstructionCount();
    if (countBefore_ >= limit_) {
        Finish();
        return;
    }
    Sample();
}

void TVcdWriter::Accessed(TAccessKind kind, std::int32_t address, std::int32_t value) {
    if (!WatchesCycles() || kind == TAccessKind::ScratchRead || kind == TAccessKind::ScratchWrite)
        return;
    if (kind == TAccessKind::ConstantWrite) {
        int first = constantSignals_[address & 0xF];
        if (first < 0) return;
        signals_[first].Value = Masked(value, 8);
        signals_[first + 1].Value = 1;
        return;
    }
    int first = portSignals_[address & 0xFF];
    if (first < 0) return;
    signals_[first].Value = Masked(value, 8);
    signals_[first + (kind == TAccessKind::PortRead ? 1 : 2)].Value = 1;
}

void TVcdWriter::AfterCycle() {
    if (finished_) return;
    if (simulator_.InstructionCount() > countBefore_) WriteChanges(countBefore_);
    ClearStrobes();
}

// Strobes last one instruction.
void TVcdWriter::ClearStrobes() {
    for (int first : portSignals_)
        if (first >= 0) signals_[first + 1].Value = signals_[first + 2].Value = 0;
    for (int first : constantSignals_)
        if (first >= 0) signals_[first + 1].Value = 0;
}

void TVcdWriter::Finish() {
    if (!started_ || finished_) return;
    Sample();
    ClearStrobes();
    WriteChanges(simulator_.InstructionCount());
    finished_ = true;
    out_.flush();
}

std::int64_t TVcdWriter::Picoseconds(std::int64_t count) const {
    // Two clock cycles of 1,000,000 / frequency picoseconds each, worked out
    // without overflow for any count of a run.
    constexpr std::int64_t kTwoCycles = 2'000'000;
    return count / frequencyMHz_ * kTwoCycles + count % frequencyMHz_ * kTwoCycles / frequencyMHz_;
}

void TVcdWriter::WriteChanges(std::int64_t count) {
    bool timeWritten = false;
    std::int64_t time = std::max(Picoseconds(count), lastTime_);
    for (auto& signal : signals_) {
        if (signal.Value == signal.Shown) continue;
        if (!timeWritten && time != lastTime_) out_ << '#' << time << '\n';
        timeWritten = true;
        lastTime_ = time;
        signal.Shown = signal.Value;
        WriteValue(signal);
    }
}

void TVcdWriter::WriteValue(const TSignal& signal) {
    if (signal.Width == 1) {
        out_ << (signal.Value ? '1' : '0') << signal.Id << '\n';
        return;
    }
    out_ << 'b';
    int top = signal.Width - 1;
    while (top > 0 && !((signal.Value >> top) & 1))
        --top;
    for (int bit = top; bit >= 0; --bit)
        out_ << (((signal.Value >> bit) & 1) ? '1' : '0');
    out_ << ' ' << signal.Id << '\n';
}

} // namespace korvo
