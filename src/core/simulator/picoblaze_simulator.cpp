#include "simulator/picoblaze_simulator.h"

#include "simulator/device_kinds.h"

#include <utility>

namespace korvo {

TPicoBlazeSimulator::TPicoBlazeSimulator(TCoreKind kind)
    : core_(CoreDescription(kind)), decoding_(CoreDecoding(kind)), behaviour_(decoding_.Behaviour),
      codeSize_(core_.CodeSize), stackDepth_(core_.StackDepth),
      interruptVector_(core_.InterruptVector), options_(DefaultCoreOptions(kind)) {
    if (core_.HasBuildOptions) scratchPadSize_ = options_.ScratchPadSize;
    ClearCodeImage();
}

void TPicoBlazeSimulator::SetCoreOptions(const TCoreOptions& options) {
    options_ = EffectiveCoreOptions(core_.Kind, options);
    interruptVector_ = options_.InterruptVector;
    if (core_.HasBuildOptions) scratchPadSize_ = options_.ScratchPadSize;
    if (options_.ProgramSize != codeSize_) {
        codeSize_ = options_.ProgramSize;
        ClearCodeImage();
    }
}

// --- Code image ---

void TPicoBlazeSimulator::SetCodeEntry(int address, const TCodeEntry& entry) {
    if (address < 0 || address >= CodeSize()) throw EMapError();
    codeImage_[address] = entry;
    codeImage_[address].Executed = false;
    TDecoded decoded;
    if (entry.HasCode) decoded = DecodeWord(decoding_, entry.Word);
    decoded.Executed = entry.Executed;
    decoded_[address] = decoded;
}

void TPicoBlazeSimulator::GetCodeEntry(int address, TCodeEntry& entry) const {
    if (address < 0 || address >= CodeSize()) return;
    entry = codeImage_[address];
    entry.Executed = decoded_[address].Executed;
}

bool TPicoBlazeSimulator::HasCode(int address) const {
    return address >= 0 && address < kCodeImageSize && codeImage_[address].HasCode;
}

bool TPicoBlazeSimulator::IsExecuted(int address) const {
    return address >= 0 && address < kCodeImageSize && decoded_[address].Executed;
}

int TPicoBlazeSimulator::CallReturnDepth() const {
    if (pc_ < 0 || pc_ >= codeSize_) return -1;
    const TOp op = decoded_[pc_].Op;
    const bool call = op == TOp::Call || op == TOp::CallZ || op == TOp::CallNZ ||
                      op == TOp::CallC || op == TOp::CallNC;
    return call ? sp_ : -1;
}

void TPicoBlazeSimulator::ClearCodeImage() {
    codeImage_.fill(TCodeEntry{});
    decoded_.fill(TDecoded{});
    // Without a program the machine is as it powers up; a reset of a core
    // that keeps its registers starts from there.
    registers_.fill(0);
    otherBank_.fill(0);
    bankB_ = false;
    SetState(ssIdle);
}

int TPicoBlazeSimulator::LineToAddress(int line) const {
    // Source lines start at 1; an entry without code carries line -1, which
    // must not make a line number below 1 look like it has an address.
    if (line < 1) return -1;
    for (int address = 0; address < kCodeImageSize; ++address)
        if (codeImage_[address].Line == line) return address;
    return -1;
}

int TPicoBlazeSimulator::AddressToLine(int address) const {
    if (address < 0 || address >= kCodeImageSize) return -1;
    return codeImage_[address].Line;
}

// --- Core state ---

void TPicoBlazeSimulator::ResetCore() {
    TSimulator::ResetCore();
    SelectBank(0);
    if (!behaviour_.ResetKeepsRegisters) registers_.fill(0);
    sp_ = 0;
    zero_ = false;
    carry_ = false;
    interruptEnable_ = false;
    interruptLine_ = false;
    UpdateInterruptPending();
}

std::int32_t TPicoBlazeSimulator::Register(int n) const {
    return n >= 0 && n < static_cast<int>(registers_.size()) ? registers_[n] : 0;
}

void TPicoBlazeSimulator::SetRegister(int n, std::int32_t value) {
    if (n >= 0 && n < static_cast<int>(registers_.size())) registers_[n] = value;
}

void TPicoBlazeSimulator::SelectBank(int bank) {
    bool b = bank != 0 && core_.RegisterBanks > 1;
    if (b == bankB_) return;
    std::swap(registers_, otherBank_);
    bankB_ = b;
}

std::int32_t TPicoBlazeSimulator::BankRegister(int bank, int n) const {
    if (n < 0 || n >= static_cast<int>(registers_.size())) return 0;
    return (bank != 0) == bankB_ ? registers_[n] : otherBank_[n];
}

void TPicoBlazeSimulator::SetBankRegister(int bank, int n, std::int32_t value) {
    if (n < 0 || n >= static_cast<int>(registers_.size())) return;
    ((bank != 0) == bankB_ ? registers_ : otherBank_)[n] = value;
}

std::int32_t TPicoBlazeSimulator::StackEntry(int index) const {
    return index >= 0 && index < static_cast<int>(stack_.size()) ? stack_[index] : 0;
}

std::uint8_t TPicoBlazeSimulator::StackEntryFlags(int index) const {
    return index >= 0 && index < static_cast<int>(stackFlags_.size()) ? stackFlags_[index] : 0;
}

std::uint16_t TPicoBlazeSimulator::ConstantPortsUsed() const {
    std::uint16_t ports = 0;
    for (int address = 0; address < codeSize_; ++address)
        if (decoded_[address].Op == TOp::OutConstant) ports |= 1u << (decoded_[address].K & 0xF);
    return ports;
}

void TPicoBlazeSimulator::UpdateInterruptPending() {
    interruptPending_ = (interruptEnable_ && (interruptEdge_ || interruptLine_)) || interruptAck_;
}

void TPicoBlazeSimulator::SetInterruptAck(bool on) {
    interruptAck_ = on;
    UpdateInterruptPending();
}

void TPicoBlazeSimulator::SetInterruptEnable(bool on) {
    interruptEnable_ = on;
    UpdateInterruptPending();
}

void TPicoBlazeSimulator::SetInterruptLine(bool on) {
    interruptLine_ = on;
    UpdateInterruptPending();
}

void TPicoBlazeSimulator::SetInterruptEdge(bool on) {
    interruptEdge_ = on;
    UpdateInterruptPending();
}

// --- Port map ---

TMemMapItem TPicoBlazeSimulator::GetPortItem(int address) const {
    return address >= 0 && address < kPortCount ? portMap_[address] : TMemMapItem{};
}

void TPicoBlazeSimulator::SetPortItem(int address, const TMemMapItem& item) {
    if (address < 0 || address >= kPortCount) return;
    portMap_[address] = item;
    std::erase(statePorts_, address);
    TDeviceKind kind = DeviceKindOf(item.Kind);
    if (kind.Read == TPortRead::Cell || kind.Read == TPortRead::BlockRam)
        statePorts_.push_back(address);
}

TMemMapItem TPicoBlazeSimulator::GetStoreItem(int) const {
    return TMemMapItem{};
}

} // namespace korvo
