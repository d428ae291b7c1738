#include "analysis/program_flow.h"

namespace korvo {

namespace {

std::uint32_t Bit(int reg) {
    return std::uint32_t{1} << reg;
}

} // namespace

TProgramFlow::TProgramFlow(const TAssemblyImage& image,
                           std::map<int, std::vector<int>> computedTargets)
    : core_(image.CoreKind()), instructions_(static_cast<std::size_t>(image.CodeSize())),
      computedTargets_(std::move(computedTargets)) {
    const TCoreDecoding& decoding = CoreDecoding(core_);
    for (int address = 0; address < image.CodeSize(); ++address) {
        const TCodeEntry entry = image.Entry(address);
        TInstruction& instruction = instructions_[Index(address)];
        instruction.HasCode = entry.HasCode;
        instruction.Line = entry.Line;
        instruction.Word = entry.Word;
        if (entry.HasCode) instruction.Decoded = DecodeWord(decoding, entry.Word);
    }
}

TFlowKind TProgramFlow::Kind(int address) const {
    using enum TOp;
    switch (At(address).Decoded.Op) {
    case NoCode:
    case Unsupported: return TFlowKind::Stop;
    case Jump: return TFlowKind::Jump;
    case JumpZ:
    case JumpNZ:
    case JumpC:
    case JumpNC: return TFlowKind::ConditionalJump;
    case Call: return TFlowKind::Call;
    case CallZ:
    case CallNZ:
    case CallC:
    case CallNC: return TFlowKind::ConditionalCall;
    case Ret:
    case LoadReturn: return TFlowKind::Return;
    case RetZ:
    case RetNZ:
    case RetC:
    case RetNC: return TFlowKind::ConditionalReturn;
    case RetiDisable:
    case RetiEnable: return TFlowKind::ReturnFromInterrupt;
    case JumpRegisters: return TFlowKind::ComputedJump;
    case CallRegisters: return TFlowKind::ComputedCall;
    case LoadK:
    case LoadR:
    case AndK:
    case AndR:
    case OrK:
    case OrR:
    case XorK:
    case XorR:
    case TestK:
    case TestR:
    case CompK:
    case CompR:
    case AddK:
    case AddR:
    case AddcK:
    case AddcR:
    case SubK:
    case SubR:
    case SubcK:
    case SubcR:
    case Sla:
    case Rl:
    case Slx:
    case Sl0:
    case Sl1:
    case Sra:
    case Srx:
    case Rr:
    case Sr0:
    case Sr1:
    case InK:
    case InR:
    case OutK:
    case OutR:
    case FetchK:
    case FetchR:
    case StoreK:
    case StoreR:
    case InterruptDisable:
    case InterruptEnable:
    case AddcChainK:
    case AddcChainR:
    case SubcChainK:
    case SubcChainR:
    case CompcK:
    case CompcR:
    case TestcK:
    case TestcR:
    case StarK:
    case StarR:
    case Hwbuild:
    case OutConstant:
    case BankA:
    case BankB: return TFlowKind::Step;
    }
    return TFlowKind::Stop;
}

std::vector<int> TProgramFlow::Targets(int address) const {
    switch (Kind(address)) {
    case TFlowKind::Jump:
    case TFlowKind::ConditionalJump:
    case TFlowKind::Call:
    case TFlowKind::ConditionalCall: {
        const int target = At(address).Decoded.K;
        return target < CodeSize() ? std::vector<int>{target} : std::vector<int>{};
    }
    case TFlowKind::ComputedJump:
    case TFlowKind::ComputedCall: {
        auto found = computedTargets_.find(address);
        return found == computedTargets_.end() ? std::vector<int>{} : found->second;
    }
    case TFlowKind::Step:
    case TFlowKind::Return:
    case TFlowKind::ConditionalReturn:
    case TFlowKind::ReturnFromInterrupt:
    case TFlowKind::Stop: break;
    }
    return {};
}

bool TProgramFlow::FallsThrough(int address) const {
    if (address + 1 >= CodeSize()) return false;
    switch (Kind(address)) {
    case TFlowKind::Step:
    case TFlowKind::ConditionalJump:
    case TFlowKind::Call:
    case TFlowKind::ConditionalCall:
    case TFlowKind::ConditionalReturn:
    case TFlowKind::ComputedCall: return true;
    case TFlowKind::Jump:
    case TFlowKind::Return:
    case TFlowKind::ReturnFromInterrupt:
    case TFlowKind::ComputedJump:
    case TFlowKind::Stop: return false;
    }
    return false;
}

bool TProgramFlow::IsComputedWithoutTargets(int address) const {
    const TFlowKind kind = Kind(address);
    return (kind == TFlowKind::ComputedJump || kind == TFlowKind::ComputedCall) &&
           !computedTargets_.count(address);
}

TRegisterEffect TProgramFlow::RegisterEffect(int address) const {
    using enum TOp;
    const TDecoded& d = At(address).Decoded;
    const std::uint32_t x = Bit(d.X);
    const std::uint32_t y = Bit(d.Y);
    switch (d.Op) {
    case LoadK:
    case InK:
    case FetchK:
    case Hwbuild:
    case LoadReturn: return {0, x, 0};
    case LoadR:
    case InR:
    case FetchR: return {y, x, 0};
    case AndK:
    case OrK:
    case XorK:
    case AddK:
    case AddcK:
    case SubK:
    case SubcK:
    case AddcChainK:
    case SubcChainK:
    case Sla:
    case Rl:
    case Slx:
    case Sl0:
    case Sl1:
    case Sra:
    case Srx:
    case Rr:
    case Sr0:
    case Sr1: return {x, x, 0};
    case AndR:
    case OrR:
    case XorR:
    case AddR:
    case AddcR:
    case SubR:
    case SubcR:
    case AddcChainR:
    case SubcChainR: return {x | y, x, 0};
    case TestK:
    case CompK:
    case CompcK:
    case TestcK:
    case OutK:
    case StoreK: return {x, 0, 0};
    case TestR:
    case CompR:
    case CompcR:
    case TestcR:
    case OutR:
    case StoreR:
    case JumpRegisters:
    case CallRegisters: return {x | y, 0, 0};
    case StarK: return {0, 0, x};
    case StarR: return {y, 0, x};
    case NoCode:
    case Unsupported:
    case Jump:
    case JumpZ:
    case JumpNZ:
    case JumpC:
    case JumpNC:
    case Call:
    case CallZ:
    case CallNZ:
    case CallC:
    case CallNC:
    case Ret:
    case RetZ:
    case RetNZ:
    case RetC:
    case RetNC:
    case RetiDisable:
    case RetiEnable:
    case InterruptDisable:
    case InterruptEnable:
    case OutConstant:
    case BankA:
    case BankB: break;
    }
    return {};
}

bool TProgramFlow::InterruptEnableAfter(int address, bool before) const {
    const TOp op = At(address).Decoded.Op;
    if (op == TOp::InterruptEnable || op == TOp::RetiEnable) return true;
    if (op == TOp::InterruptDisable || op == TOp::RetiDisable) return false;
    return before;
}

int TProgramFlow::BankAfter(int address, int before) const {
    const TOp op = At(address).Decoded.Op;
    if (op == TOp::BankA) return 0;
    if (op == TOp::BankB) return 1;
    return before;
}

} // namespace korvo
