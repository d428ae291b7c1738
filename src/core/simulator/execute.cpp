// The instruction cycle of the PicoBlaze cores: interrupt entry, fetch of
// the pre-decoded entry, execution, and commit of the next address. The
// semantics are shared by all four cores; their words differ only in how
// they decode (decode_tables.cpp).
#include "simulator/picoblaze_debugger.h"

namespace korvo {

namespace {

// The flags of an ALU result r (computed wide): carry when r leaves 0..255;
// the register gets the low eight bits.
struct TAluResult {
    std::int32_t Value;
    bool Carry;
    bool Zero;
};

inline TAluResult AluResult(std::int64_t r) {
    std::int32_t low = static_cast<std::int32_t>(r & 0xFF);
    return {low, static_cast<std::uint64_t>(r) > 255, low == 0};
}

} // namespace

bool TPicoBlazeDebugger::EnterInterrupt() {
    if (!interruptAck_) {
        // The interrupt is entered one cycle after it is seen.
        interruptAck_ = true;
        errorCode_ = seNone;
        return true;
    }
    interruptEdge_ = false;
    interruptEnable_ = false;
    interruptAck_ = false;
    UpdateInterruptPending();
    savedZero_ = zero_;
    savedCarry_ = carry_;
    if (sp_ < 0 || sp_ >= stackDepth_) {
        errorCode_ = seStackOverflow;
        return false;
    }
    stack_[sp_++] = pc_;
    pc_ = codeSize_ - 1;
    errorCode_ = seNone;
    return true;
}

// pc and count are the caller's copies of pc_ and instructionCount_, kept in
// registers across a burst; they are written back before anything outside
// the cycle can look at them, and read again when a handler may have reset
// the core.
[[gnu::always_inline]] inline bool TPicoBlazeDebugger::Cycle(std::int32_t& pc,
                                                             std::int64_t& count) {
    if (interruptPending_) [[unlikely]] {
        // Through the member, so that pc itself can stay in a register.
        pc_ = pc;
        bool entered = EnterInterrupt();
        pc = pc_;
        return entered;
    }
    interruptAck_ = false;
    TDecoded& d = decoded_[pc];
    if (d.Op == TOp::NoCode) [[unlikely]] {
        errorCode_ = seNoInstruction;
        return false;
    }
    d.Executed = true;
    std::int32_t next = pc + 1;
    std::int32_t& x = registers_[d.X];
    const std::int32_t k = d.K;
    const std::int32_t y = registers_[d.Y];

    auto alu = [&](std::int64_t r) {
        TAluResult result = AluResult(r);
        x = result.Value;
        carry_ = result.Carry;
        zero_ = result.Zero;
    };
    auto compare = [&](std::int64_t r) {
        TAluResult result = AluResult(r);
        carry_ = result.Carry;
        zero_ = result.Zero;
    };
    auto test = [&](std::int64_t r) {
        std::int32_t low = static_cast<std::int32_t>(r & 0xFF);
        carry_ = __builtin_parity(static_cast<unsigned>(low)) != 0;
        zero_ = low == 0;
    };
    // Both arguments are worked out from the old sX and carry first.
    auto shift = [&](std::uint32_t shifted, std::uint32_t carryOut) {
        x = static_cast<std::int32_t>(shifted & 0xFF);
        carry_ = carryOut != 0;
        zero_ = x == 0;
    };
    // Operands of the shift group: the old bits and bits 7 and 0.
    auto bits = [&] { return static_cast<std::uint32_t>(x); };
    auto b7 = [&] { return (static_cast<std::uint32_t>(x) >> 7) & 1; };
    auto b0 = [&] { return static_cast<std::uint32_t>(x) & 1; };
    auto c = [&]() -> std::uint32_t { return carry_ ? 1 : 0; };
    auto wide = [&] { return static_cast<std::int64_t>(x); };

    auto call = [&]() {
        if (sp_ < 0 || sp_ >= stackDepth_) {
            errorCode_ = seStackOverflow;
            return false;
        }
        stack_[sp_++] = pc + 1;
        next = k;
        return true;
    };
    auto ret = [&]() {
        if (sp_ <= 0) {
            sp_ = -1;
            errorCode_ = seStackUnderflow;
            return false;
        }
        next = stack_[--sp_];
        return true;
    };
    switch (d.Op) {
    case TOp::NoCode:
    case TOp::Unsupported: errorCode_ = seUnsupported; return false;

    case TOp::LoadK: x = k; break;
    case TOp::LoadR: x = y; break;
    case TOp::AndK: alu(wide() & k); break;
    case TOp::AndR: alu(wide() & y); break;
    case TOp::OrK: alu(wide() | k); break;
    case TOp::OrR: alu(wide() | y); break;
    case TOp::XorK: alu(wide() ^ k); break;
    case TOp::XorR: alu(wide() ^ y); break;
    case TOp::TestK: test(wide() & k); break;
    case TOp::TestR: test(wide() & y); break;
    case TOp::CompK: compare(wide() - k); break;
    case TOp::CompR: compare(wide() - y); break;
    case TOp::AddK: alu(wide() + k); break;
    case TOp::AddR: alu(wide() + y); break;
    case TOp::AddcK: alu(wide() + k + c()); break;
    case TOp::AddcR: alu(wide() + y + c()); break;
    case TOp::SubK: alu(wide() - k); break;
    case TOp::SubR: alu(wide() - y); break;
    case TOp::SubcK: alu(wide() - k - c()); break;
    case TOp::SubcR: alu(wide() - y - c()); break;

    case TOp::Sla: shift(bits() << 1 | c(), b7()); break;
    case TOp::Rl: shift(bits() << 1 | b7(), b7()); break;
    case TOp::Slx: shift(bits() << 1 | b0(), b7()); break;
    case TOp::Sl0: shift(bits() << 1, b7()); break;
    case TOp::Sl1: shift(bits() << 1 | 1, b7()); break;
    case TOp::Sra: shift(c() << 7 | bits() >> 1, b0()); break;
    case TOp::Srx: shift(bits() >> 1 | b7() << 7, b0()); break;
    case TOp::Rr: shift(bits() >> 1 | b0() << 7, b0()); break;
    case TOp::Sr0: shift(bits() >> 1, b0()); break;
    case TOp::Sr1: shift(bits() >> 1 | 0x80, b0()); break;

    case TOp::InK:
    case TOp::InR:
    case TOp::FetchK:
    case TOp::FetchR:
    case TOp::OutK:
    case TOp::OutR:
    case TOp::StoreK:
    case TOp::StoreR: {
        // Port numbers from a register are taken modulo 256, so that no
        // register value turns IN or OUT into a scratch pad access.
        bool fromRegister =
            d.Op == TOp::InR || d.Op == TOp::FetchR || d.Op == TOp::OutR || d.Op == TOp::StoreR;
        std::int32_t address = fromRegister ? (y & 0xFF) : k;
        if (d.Op == TOp::FetchK || d.Op == TOp::FetchR || d.Op == TOp::StoreK ||
            d.Op == TOp::StoreR)
            address |= 256;
        bool input =
            d.Op == TOp::InK || d.Op == TOp::InR || d.Op == TOp::FetchK || d.Op == TOp::FetchR;
        pc_ = pc;
        instructionCount_ = count;
        TAccess result = input ? Input(d.X, address) : Output(d.X, address);
        if (result != TAccess::Done) {
            pc = pc_;
            count = instructionCount_;
            return result == TAccess::Abandoned;
        }
        break;
    }

    case TOp::Jump: next = k; break;
    case TOp::JumpZ:
        if (zero_) next = k;
        break;
    case TOp::JumpNZ:
        if (!zero_) next = k;
        break;
    case TOp::JumpC:
        if (carry_) next = k;
        break;
    case TOp::JumpNC:
        if (!carry_) next = k;
        break;

    case TOp::Call:
        if (!call()) return false;
        break;
    case TOp::CallZ:
        if (zero_ && !call()) return false;
        break;
    case TOp::CallNZ:
        if (!zero_ && !call()) return false;
        break;
    case TOp::CallC:
        if (carry_ && !call()) return false;
        break;
    case TOp::CallNC:
        if (!carry_ && !call()) return false;
        break;

    case TOp::Ret:
        if (!ret()) return false;
        break;
    case TOp::RetZ:
        if (zero_ && !ret()) return false;
        break;
    case TOp::RetNZ:
        if (!zero_ && !ret()) return false;
        break;
    case TOp::RetC:
        if (carry_ && !ret()) return false;
        break;
    case TOp::RetNC:
        if (!carry_ && !ret()) return false;
        break;

    case TOp::RetiDisable:
    case TOp::RetiEnable:
        interruptEnable_ = d.Op == TOp::RetiEnable;
        UpdateInterruptPending();
        zero_ = savedZero_;
        carry_ = savedCarry_;
        if (!ret()) return false;
        break;

    case TOp::InterruptDisable: SetInterruptEnable(false); break;
    case TOp::InterruptEnable: SetInterruptEnable(true); break;
    default: __builtin_unreachable(); // every TOp has its case
    }

    if (static_cast<std::uint32_t>(next) >= static_cast<std::uint32_t>(codeSize_)) [[unlikely]] {
        errorCode_ = seOutsideCode;
        return false;
    }
    pc = next;
    errorCode_ = seNone;
    ++count;
    return true;
}

bool TPicoBlazeDebugger::ExecuteInstruction() {
    std::int32_t pc = pc_;
    std::int64_t count = instructionCount_;
    bool ok = Cycle(pc, count);
    pc_ = pc;
    instructionCount_ = count;
    return ok;
}

TDebugger::TBurstEnd TPicoBlazeDebugger::RunBurst(int maxCycles) {
    std::int32_t pc = pc_;
    std::int64_t count = instructionCount_;
    auto writeBack = [&] {
        pc_ = pc;
        instructionCount_ = count;
    };
    for (int i = 0; i < maxCycles; ++i) {
        if (OnBeforeStep) [[unlikely]] {
            writeBack();
            OnBeforeStep(*this);
            if (DeletePending()) return TBurstEnd::Stopped;
            pc = pc_;
            count = instructionCount_;
        }
        if (!Cycle(pc, count)) {
            writeBack();
            return TBurstEnd::Failed;
        }
        if (state_ != ssRunning) {
            writeBack();
            return TBurstEnd::Stopped;
        }
        if ((pc == runToAddress_ && (runToStackLimit_ < 0 || sp_ <= runToStackLimit_)) ||
            breakpoints_[pc]) {
            writeBack();
            SetState(ssPaused);
            return TBurstEnd::Stopped;
        }
    }
    writeBack();
    return TBurstEnd::Continue;
}

} // namespace korvo
