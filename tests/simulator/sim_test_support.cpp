#include "sim_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace korvo::test {

namespace {

// Base words of the assembler's encoding table, by mnemonic index:
// JUMP CALL RET RETI EINT DINT, SLA (shift base), LOAD AND OR XOR TEST ADD
// ADDC SUB SUBC COMP, IN OUT FETCH STORE; 0 where the core has none.
enum TMnemonic {
    mJump,
    mCall,
    mRet,
    mReti,
    mEint,
    mDint,
    mShift,
    mLoad,
    mAnd,
    mOr,
    mXor,
    mTest,
    mAdd,
    mAddc,
    mSub,
    mSubc,
    mComp,
    mIn,
    mOut,
    mFetch,
    mStore,
    mCount
};

constexpr std::uint32_t kBase[4][mCount] = {
    // PicoBlaze I (register form of the ALU instructions)
    {0x8100, 0x8300, 0x8080, 0x80D0, 0x8030, 0x8010, 0xD000, 0xC000, 0xC001, 0xC002, 0xC003,
     0,      0xC004, 0xC005, 0xC006, 0xC007, 0,      0xA000, 0xE000, 0,      0},
    // PicoBlaze II
    {0x34000, 0x36000, 0x24000, 0x2C000, 0x3C001, 0x3C000, 0x28000,
     0x00000, 0x02000, 0x04000, 0x06000, 0,       0x08000, 0x0A000,
     0x0C000, 0x0E000, 0,       0x20000, 0x22000, 0,       0},
    // PicoBlaze 3
    {0x34000, 0x30000, 0x2A000, 0x38000, 0x3C001, 0x3C000, 0x20000,
     0x00000, 0x0A000, 0x0C000, 0x0E000, 0x12000, 0x18000, 0x1A000,
     0x1C000, 0x1E000, 0x14000, 0x04000, 0x2C000, 0x06000, 0x2E000},
    // PicoBlaze CR
    {0xD000, 0xD800, 0x9000, 0xF000, 0xB000, 0xB001, 0xA000, 0x0000, 0x0800, 0x1000, 0x1800,
     0,      0x2000, 0x2800, 0x3000, 0x3800, 0,      0x8000, 0x8800, 0,      0},
};

int AluMnemonic(TAlu op) {
    switch (op) {
    case TAlu::Load: return mLoad;
    case TAlu::And: return mAnd;
    case TAlu::Or: return mOr;
    case TAlu::Xor: return mXor;
    case TAlu::Test: return mTest;
    case TAlu::Add: return mAdd;
    case TAlu::Addc: return mAddc;
    case TAlu::Sub: return mSub;
    case TAlu::Subc: return mSubc;
    case TAlu::Comp: return mComp;
    }
    return mLoad;
}

int PortMnemonic(TPortOp op) {
    switch (op) {
    case TPortOp::In: return mIn;
    case TPortOp::Out: return mOut;
    case TPortOp::Fetch: return mFetch;
    case TPortOp::Store: return mStore;
    }
    return mIn;
}

} // namespace

std::uint32_t TEncoder::Base(int index) const {
    std::uint32_t base = kBase[static_cast<int>(core_) - 1][index];
    if (base == 0 && index != mLoad) throw std::logic_error("no such instruction on this core");
    return base;
}

std::uint32_t TEncoder::RegisterOperand(int y) const {
    switch (core_) {
    case TCoreKind::pbtI: return static_cast<std::uint32_t>(y) << 4;
    case TCoreKind::pbtII: return 0x10000 | static_cast<std::uint32_t>(y) << 3;
    case TCoreKind::pbt3: return 0x1000 | static_cast<std::uint32_t>(y) << 4;
    case TCoreKind::pbtC:
    case TCoreKind::none: break;
    }
    return 0x4000 | static_cast<std::uint32_t>(y) << 5;
}

std::uint32_t TEncoder::Alu(TAlu op, int x, int k) const {
    std::uint32_t base = Base(AluMnemonic(op));
    if (core_ == TCoreKind::pbtI) base = (base << 12) & 0xF000;
    return base | static_cast<std::uint32_t>(x) << 8 | (k & 0xFF);
}

std::uint32_t TEncoder::AluReg(TAlu op, int x, int y) const {
    std::uint32_t base = Base(AluMnemonic(op));
    if (core_ == TCoreKind::pbtI) return base | x << 8 | y << 4;
    return base | static_cast<std::uint32_t>(x) << 8 | RegisterOperand(y);
}

std::uint32_t TEncoder::Shift(TShift op, int x) const {
    return Base(mShift) | static_cast<std::uint32_t>(x) << 8 | static_cast<std::uint32_t>(op);
}

std::uint32_t TEncoder::Port(TPortOp op, int x, int port) const {
    return Base(PortMnemonic(op)) | static_cast<std::uint32_t>(x) << 8 | (port & 0xFF);
}

std::uint32_t TEncoder::PortReg(TPortOp op, int x, int y) const {
    std::uint32_t operand =
        core_ == TCoreKind::pbtI ? 0x1000 | static_cast<std::uint32_t>(y) << 4 : RegisterOperand(y);
    return Base(PortMnemonic(op)) | static_cast<std::uint32_t>(x) << 8 | operand;
}

std::uint32_t TEncoder::Jump(int address, int condition) const {
    return Base(mJump) | static_cast<std::uint32_t>(condition) << ConditionShift() |
           static_cast<std::uint32_t>(address);
}

std::uint32_t TEncoder::Call(int address, int condition) const {
    return Base(mCall) | static_cast<std::uint32_t>(condition) << ConditionShift() |
           static_cast<std::uint32_t>(address);
}

std::uint32_t TEncoder::Ret(int condition) const {
    return Base(mRet) | static_cast<std::uint32_t>(condition) << ConditionShift();
}

std::uint32_t TEncoder::Reti(bool enable) const {
    switch (core_) {
    case TCoreKind::pbtI: return enable ? 0x80F0 : 0x80D0;
    case TCoreKind::pbtC: return enable ? 0xF000 : 0xF001;
    case TCoreKind::pbtII:
    case TCoreKind::pbt3:
    case TCoreKind::none: break;
    }
    return Base(mReti) | (enable ? 1 : 0);
}

std::uint32_t TEncoder::Eint() const {
    return Base(mEint);
}
std::uint32_t TEncoder::Dint() const {
    return Base(mDint);
}

TMachine::TMachine(TCoreKind core) : Sim(CreateDebugger(core)), Encode(core) {
    Sim->SetRunClock(Clock);
    Session = std::make_unique<TSimulationSession>(*Sim, Log, &Settings);
}

TMachine::~TMachine() {
    Session.reset();
}

void TMachine::Load(const std::vector<std::uint32_t>& words, int start) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        int address = start + static_cast<int>(i);
        Sim->SetCodeEntry(address, TCodeEntry{true, false, address + 1, words[i]});
    }
}

void TMachine::Map(int port, TMemKind kind, std::uint8_t value) {
    TMemMapItem item;
    item.Kind = kind;
    item.Value = value;
    Sim->SetPortItem(port, item);
}

void TMachine::Start() {
    Sim->Start();
    Log.Lines.clear();
}

void TMachine::Steps(int n) {
    for (int i = 0; i < n; ++i)
        Sim->Step();
}

std::string CoreName(TCoreKind core) {
    switch (core) {
    case TCoreKind::pbtI: return "PicoBlazeI";
    case TCoreKind::pbtII: return "PicoBlazeII";
    case TCoreKind::pbt3: return "PicoBlaze3";
    case TCoreKind::pbtC: return "PicoBlazeCR";
    case TCoreKind::none: break;
    }
    return "None";
}

} // namespace korvo::test
