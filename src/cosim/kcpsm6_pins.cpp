#include "cosim/kcpsm6_pins.h"

#include "common/mem_map.h"
#include "simulator/sim_errors.h"

namespace korvo::cosim {

namespace {

constexpr int kAddressMask = 0xFFF;
constexpr std::uint32_t kWordMask = 0x3FFFF;

// The five top bits of the opcode decide the strobes and the register
// addressing.
constexpr std::uint32_t OpcodePair(std::uint32_t word) {
    return word >> 13;
}
constexpr bool RaisesReadStrobe(std::uint32_t word) {
    return OpcodePair(word) == 0x08 >> 1; // INPUT
}
constexpr bool RaisesWriteStrobe(std::uint32_t word) {
    return OpcodePair(word) == 0x2C >> 1; // OUTPUT
}
constexpr bool RaisesKWriteStrobe(std::uint32_t word) {
    return OpcodePair(word) == 0x2A >> 1; // OUTPUTK
}
// STAR writes sX of the other bank.
constexpr bool AddressesOtherBank(std::uint32_t word) {
    return OpcodePair(word) == 0x16 >> 1;
}

} // namespace

TKcpsm6Pins::TKcpsm6Pins(const TCoreOptions& options)
    : sim_(CreateSimulator(TCoreKind::pbt6)), scratchPadMask_(options.ScratchPadSize - 1) {
    // The scratch pad is kept here: the core ignores the address bits above
    // its size, where the simulator would refuse the access.
    TCoreOptions whole = options;
    whole.ScratchPadSize = kScratchPadBytes;
    sim_->SetCoreOptions(whole);
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

void TKcpsm6Pins::LoadProgram(const std::vector<std::uint32_t>& words) {
    program_ = words;
    program_->resize(kAddressMask + 1);
}

std::uint32_t TKcpsm6Pins::Word() const {
    return program_ ? romWord_ : pins_;
}

void TKcpsm6Pins::SetInstructionPins(std::uint32_t word) {
    pins_ = word & kWordMask;
}

bool TKcpsm6Pins::StartTrace(const std::string& path) {
    auto file = std::make_unique<std::ofstream>(path);
    if (!*file) return false;
    if (trace_) sim_->DetachObserver(*trace_);
    trace_ = std::make_unique<TInstructionTrace>(*sim_, *file);
    traceFile_ = std::move(file);
    sim_->AttachObserver(*trace_);
    return true;
}

bool TKcpsm6Pins::Execute(std::uint32_t word, std::uint8_t inPort) {
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
    if (ok) return true;
    std::uint8_t error = sim_->ErrorCode();
    return error != seStackOverflow && error != seStackUnderflow;
}

void TKcpsm6Pins::EnterInterrupt(std::uint32_t abandoned) {
    // The abandoned word still selects the bank (the simulator knows how).
    sim_->SetCodeEntry(sim_->PC(), TCodeEntry{.HasCode = true, .Word = abandoned});
    sim_->SetInterruptAck(true);
    sim_->SetInterruptLine(true);
    bool ok = sim_->ExecuteInstruction();
    sim_->SetInterruptLine(false);
    if (!ok && sim_->ErrorCode() == seStackOverflow) stackFault_ = true;
    address_ = sim_->PC() & kAddressMask;
}

void TKcpsm6Pins::Decode(std::uint32_t word) {
    if (RaisesReadStrobe(word)) {
        // in_port is read on the next edge; INPUT never jumps.
        inputPending_ = word;
        address_ = (address_ + 1) & kAddressMask;
        return;
    }
    if (!Execute(word, 0)) stackFault_ = true;
    address_ = sim_->PC() & kAddressMask;
}

void TKcpsm6Pins::ResetCore() {
    // The register file is a RAM that no reset touches.
    std::array<std::int32_t, 32> kept{};
    for (int i = 0; i < 32; ++i)
        kept[i] = sim_->BankRegister(i / 16, i % 16);
    sim_->ResetCore();
    sim_->SetInterruptAck(false);
    for (int i = 0; i < 32; ++i)
        sim_->SetBankRegister(i / 16, i % 16, kept[i]);
    address_ = 0;
    stackFault_ = false;
}

void TKcpsm6Pins::CopyRegisters() {
    for (int i = 0; i < 32; ++i)
        registers_[i] = static_cast<std::uint8_t>(sim_->BankRegister(i / 16, i % 16));
}

void TKcpsm6Pins::Clock(const TPinInputs& in) {
    if (!program_) pins_ = in.Instruction & kWordMask;
    // Everything the flip-flops take is worked out from the values before
    // the edge.
    const std::uint32_t word = Word();
    const bool t1 = t1_;
    const bool t2 = t2_;
    const bool internalReset = internalReset_;
    const bool run = run_;
    const bool active = activeInterrupt_;
    const bool interruptEnable = sim_->InterruptEnable();
    const int bank = sim_->ActiveBank();
    const int addressBefore = address_;
    const bool fault = t2 && stackFault_;
    const bool decodeEdge = t1 && !t2;

    // The register file takes what the last decode edge started.
    if (writePending_) {
        writePending_ = false;
        if (inputPending_) {
            if (!Execute(*inputPending_, in.InPort)) stackFault_ = true;
            inputPending_.reset();
        }
        CopyRegisters();
    }

    writeStrobe_ = decodeEdge && !active && RaisesWriteStrobe(word);
    kWriteStrobe_ = decodeEdge && !active && RaisesKWriteStrobe(word);
    readStrobe_ = decodeEdge && !active && RaisesReadStrobe(word);
    if (internalReset) {
        ResetCore();
    } else if (decodeEdge) {
        if (active)
            EnterInterrupt(word);
        else
            Decode(word);
        writePending_ = true;
    }

    sxBank_ = AddressesOtherBank(word) ? bank ^ (t2 ? 0 : 1) : bank;
    run_ = !in.Reset && (run || internalReset) && !fault;
    internalReset_ = in.Reset || !run || fault;
    t1_ = !internalReset && t2;
    t2_ = !internalReset && !t2 && !syncSleep_;
    syncSleep_ = in.Sleep;
    interruptAck_ = active;
    activeInterrupt_ = interruptEnable && t2 && syncInterrupt_;
    syncInterrupt_ = in.Interrupt;
    if (program_ && t2) romWord_ = (*program_)[addressBefore];
}

TPinOutputs TKcpsm6Pins::Outputs() const {
    const std::uint32_t word = Word();
    TPinOutputs out;
    out.Address = address_;
    out.BramEnable = t2_;
    const int y = static_cast<int>(word >> 4 & 0xF);
    const int x = static_cast<int>(word >> 8 & 0xF);
    out.PortId = (word & 0x1000) != 0 ? static_cast<std::uint8_t>(word & 0xFF)
                                      : registers_[sim_->ActiveBank() * 16 + y];
    out.OutPort = (word & 0x2000) != 0 ? static_cast<std::uint8_t>(word >> 4 & 0xFF)
                                       : registers_[sxBank_ * 16 + x];
    out.WriteStrobe = writeStrobe_;
    out.KWriteStrobe = kWriteStrobe_;
    out.ReadStrobe = readStrobe_;
    out.InterruptAck = interruptAck_;
    return out;
}

std::uint8_t TKcpsm6Pins::Register(int bank, int index) const {
    return registers_[(bank & 1) * 16 + (index & 0xF)];
}

} // namespace korvo::cosim
