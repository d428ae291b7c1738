#include "cosim/core_pins.h"

#include "common/mem_map.h"
#include "simulator/sim_errors.h"

namespace korvo::cosim {

namespace {

constexpr std::uint32_t kWordMask = 0x3FFFF;

} // namespace

TCorePins::TCorePins(TCoreKind kind, const TCoreOptions& options)
    : sim_(CreateSimulator(kind)), addressMask_(CoreDescription(kind).CodeSize - 1),
      scratchPadMask_(options.ScratchPadSize - 1) {
    TCoreOptions whole = options;
    whole.ScratchPadSize = kScratchPadBytes;
    sim_->SetCoreOptions(whole);
    sim_->SetScratchPadSize(kScratchPadBytes);
    // Every port is the user's logic: reads come from in_port.
    for (int port = 0; port < kPortCount; ++port) {
        TMemMapItem item;
        item.Kind = TMemKind::IO;
        sim_->SetPortItem(port, item);
    }
    sim_->OnRead = [this](std::int32_t address, TMemKind kind) -> std::int32_t {
        return kind == TMemKind::ScratchPad ? scratchPad_[address & scratchPadMask_] : inPort_;
    };
    sim_->OnWrite = [this](std::int32_t address, std::int32_t value, TMemKind kind) {
        if (kind == TMemKind::ScratchPad)
            scratchPad_[address & scratchPadMask_] = static_cast<std::uint8_t>(value);
    };
    sim_->SetResetOnRefusedAccess(false);
}

void TCorePins::LoadProgram(const std::vector<std::uint32_t>& words) {
    program_ = words;
    program_->resize(static_cast<std::size_t>(addressMask_ + 1));
}

void TCorePins::SetInstructionPins(std::uint32_t word) {
    pins_ = word & kWordMask;
}

void TCorePins::TakePins(const TPinInputs& in) {
    if (!program_) pins_ = in.Instruction & kWordMask;
}

void TCorePins::ReadRom(int address) {
    if (program_) romWord_ = (*program_)[static_cast<std::size_t>(address & addressMask_)];
}

bool TCorePins::StartTrace(const std::string& path) {
    auto file = std::make_unique<std::ofstream>(path);
    if (!*file) return false;
    if (trace_) sim_->DetachObserver(*trace_);
    trace_ = std::make_unique<TInstructionTrace>(*sim_, *file);
    traceFile_ = std::move(file);
    sim_->AttachObserver(*trace_);
    return true;
}

bool TCorePins::Execute(std::uint32_t word, std::uint8_t inPort) {
    inPort_ = inPort;
    sim_->SetCodeEntry(sim_->PC(), TCodeEntry{.HasCode = true, .Word = word});
    std::int64_t before = sim_->InstructionCount();
    if (trace_) trace_->BeforeCycle();
    bool ok = sim_->ExecuteInstruction();
    if (trace_) {
        trace_->AfterCycle();
        traceFile_->flush();
    }
    instructions_ += sim_->InstructionCount() - before;
    // The program counter wraps at the end of the code space.
    if (sim_->PC() > addressMask_) sim_->ResetPC();
    if (ok) return true;
    std::uint8_t error = sim_->ErrorCode();
    return error != seStackOverflow && error != seStackUnderflow;
}

void TCorePins::WriteStackRam() {
    stackRam_[static_cast<std::size_t>(stackPointer_)] = address_;
}

void TCorePins::EnterInterrupt(std::uint32_t abandoned) {
    // The abandoned word still selects the bank (the simulator knows how).
    sim_->SetCodeEntry(sim_->PC(), TCodeEntry{.HasCode = true, .Word = abandoned});
    sim_->SetInterruptAck(true);
    sim_->SetInterruptLine(true);
    bool ok = sim_->ExecuteInstruction();
    sim_->SetInterruptLine(false);
    if (ok) {
        address_ = sim_->PC() & addressMask_;
        stackPointer_ = sim_->SP() & 31;
    } else if (sim_->ErrorCode() == seStackOverflow) {
        stackFault_ = true;
        address_ = sim_->InterruptVector() & addressMask_;
        stackPointer_ = (stackPointer_ + 1) & 31;
    }
}

void TCorePins::Decode(std::uint32_t word, bool isInput, bool active, bool inReset) {
    writePending_ = true;
    inputInReset_ = inReset;
    if (active || isInput) WriteStackRam();
    if (active) {
        EnterInterrupt(word);
        return;
    }
    if (isInput) {
        // in_port is read on the next edge; INPUT never jumps.
        inputPending_ = word;
        address_ = (address_ + 1) & addressMask_;
        return;
    }
    const int popped = stackRam_[static_cast<std::size_t>((stackPointer_ - 1) & 31)];
    WriteStackRam();
    if (Execute(word, 0)) {
        address_ = sim_->PC() & addressMask_;
        stackPointer_ = sim_->SP() & 31;
        return;
    }
    stackFault_ = true;
    if (sim_->ErrorCode() == seStackUnderflow) {
        // The core pops the entry below the bottom one and resets soon after.
        address_ = (popped + 1) & addressMask_;
        stackPointer_ = (stackPointer_ - 1) & 31;
    } else if (sim_->ErrorCode() == seStackOverflow) {
        address_ = OverflowingCallTarget(word);
        stackPointer_ = (stackPointer_ + 1) & 31;
    } else {
        address_ = sim_->PC() & addressMask_;
    }
}

int TCorePins::OverflowingCallTarget(std::uint32_t word) {
    if (!callProbe_) {
        callProbe_ = CreateSimulator(sim_->CoreKind());
        callProbe_->SetCoreOptions(sim_->CoreOptions());
    }
    TPicoBlazeSimulator& probe = *callProbe_;
    probe.ResetCore();
    for (int bank = 0; bank < sim_->RegisterBanks(); ++bank)
        for (int n = 0; n < sim_->RegisterCount(); ++n)
            probe.SetBankRegister(bank, n, sim_->BankRegister(bank, n));
    probe.SelectBank(sim_->ActiveBank());
    probe.SetZeroFlag(sim_->ZeroFlag());
    probe.SetCarryFlag(sim_->CarryFlag());
    // No call goes relative to its own address: the target is the same at 0.
    probe.SetCodeEntry(0, TCodeEntry{.HasCode = true, .Word = word});
    probe.ExecuteInstruction();
    return probe.PC() & addressMask_;
}

void TCorePins::WriteRegisters(std::uint8_t inPort) {
    if (!writePending_) return;
    writePending_ = false;
    if (inputPending_) {
        if (!Execute(*inputPending_, inPort)) stackFault_ = true;
        if (inputInReset_) sim_->ResetPC();
        inputPending_.reset();
    }
    CopyRegisters();
}

void TCorePins::ResetCore() {
    std::array<std::int32_t, 32> kept{};
    for (std::size_t i = 0; i < kept.size(); ++i)
        kept[i] = sim_->BankRegister(static_cast<int>(i / 16), static_cast<int>(i % 16));
    sim_->ResetCore();
    sim_->SetInterruptAck(false);
    for (std::size_t i = 0; i < kept.size(); ++i)
        sim_->SetBankRegister(static_cast<int>(i / 16), static_cast<int>(i % 16), kept[i]);
    address_ = 0;
    stackPointer_ = 0;
    stackFault_ = false;
}

void TCorePins::CopyRegisters() {
    for (std::size_t i = 0; i < registers_.size(); ++i)
        registers_[i] = static_cast<std::uint8_t>(
            sim_->BankRegister(static_cast<int>(i / 16), static_cast<int>(i % 16)));
}

std::uint8_t TCorePins::Register(int bank, int index) const {
    return VisibleRegister(bank & 1, index & 0xF);
}

} // namespace korvo::cosim
