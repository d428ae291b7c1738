// The instruction cycle of the PicoBlaze cores: interrupt entry, fetch of
// the pre-decoded entry, execution, and commit of the next address. The
// semantics are shared by all cores; their words differ in how they decode,
// and the few places where the cores behave differently are their
// TCoreBehaviour (decode_tables.cpp).
#include "simulator/picoblaze_simulator.h"

// Each mode leaves some of the labels of the run loop unused.
#pragma GCC diagnostic ignored "-Wunused-label"

namespace korvo {

namespace {

constexpr TLoopMode kSingleCycle{.Count = true, .Single = true};
constexpr TLoopMode kWatchedCycles{.Stops = true, .Count = true, .Watch = true};

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

bool TPicoBlazeSimulator::EnterInterrupt() {
    if (!interruptAck_) {
        // The interrupt is entered one cycle after it is seen.
        interruptAck_ = true;
        errorCode_ = seNone;
        return true;
    }
    if (interruptVector_ >= codeSize_) {
        // A vector the build put beyond its program memory.
        errorCode_ = seOutsideCode;
        return false;
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
    // The hardware lets the abandoned word select the bank (the stack keeps
    // the one it left): BANKA and BANKB theirs, RETI the one of the entry it
    // would have popped. The routine starts in that bank.
    int bank = ActiveBank();
    if (core_.RegisterBanks > 1) {
        const TOp abandoned = decoded_[pc_].Op;
        if (abandoned == TOp::BankA || abandoned == TOp::BankB)
            bank = abandoned == TOp::BankB ? 1 : 0;
        else if ((abandoned == TOp::RetiDisable || abandoned == TOp::RetiEnable) && sp_ > 0)
            bank = stackFlags_[sp_ - 1] >> 2 & 1;
    }
    Push(pc_);
    SelectBank(bank);
    pc_ = interruptVector_;
    errorCode_ = seNone;
    return true;
}

// The caller has checked that the stack has room.
inline void TPicoBlazeSimulator::Push(std::int32_t address) {
    stack_[sp_] = address;
    stackFlags_[sp_] = static_cast<std::uint8_t>(zero_ | carry_ << 1 | bankB_ << 2);
    ++sp_;
}

// The end of an operation that goes on at next. A fast loop goes straight on
// to the next operation from here, so that every operation ends in a jump of
// its own: the processor predicts each of them by itself and follows one
// taken branch per instruction. The other loops commit in one place.
#define KORVO_COMMIT()                                                                             \
    do {                                                                                           \
        if constexpr (kFastLoop) {                                                                 \
            if (static_cast<std::uint32_t>(next) >= codeSize) [[unlikely]]                         \
                goto Commit;                                                                       \
            if constexpr (M.Count) ++(*counts)[pc];                                                \
            pc = next;                                                                             \
            ++count;                                                                               \
            if constexpr (M.Stops)                                                                 \
                if (StopsAt(pc)) [[unlikely]]                                                      \
                    goto AtStop;                                                                   \
            if (count >= end) [[unlikely]]                                                         \
                goto Done;                                                                         \
            d = &decoded_[pc];                                                                     \
            d->Executed = true;                                                                    \
            goto* kOperations[static_cast<int>(d->Op)];                                            \
        }                                                                                          \
        goto Commit;                                                                               \
    } while (false)

// The cycles of a burst, as a threaded interpreter: every operation jumps
// straight to the next one's code, so that the branch of each operation is
// predicted on its own. pc and count are kept in registers and written back
// before anything outside the loop can look at them; they are read again
// when a handler may have reset the core. What the mode leaves out is not
// compiled in: the fast loops only test for what was attached when they
// started, and only after an operation that can have changed it.
//
// A fast loop counts its bound in instructions (interrupt cycles complete
// none); the watched and single loops count cycles.
template <TLoopMode M>
TSimulator::TBurstEnd TPicoBlazeSimulator::RunCycles(int maxCycles) {
    constexpr bool kFastLoop = !M.Watch && !M.Single;
    // In the order of TOp.
    static void* const kOperations[] = {&&NoCode,
                                        &&Unsupported,
                                        &&LoadK,
                                        &&LoadR,
                                        &&AndK,
                                        &&AndR,
                                        &&OrK,
                                        &&OrR,
                                        &&XorK,
                                        &&XorR,
                                        &&TestK,
                                        &&TestR,
                                        &&CompK,
                                        &&CompR,
                                        &&AddK,
                                        &&AddR,
                                        &&AddcK,
                                        &&AddcR,
                                        &&SubK,
                                        &&SubR,
                                        &&SubcK,
                                        &&SubcR,
                                        &&Sla,
                                        &&Rl,
                                        &&Slx,
                                        &&Sl0,
                                        &&Sl1,
                                        &&Sra,
                                        &&Srx,
                                        &&Rr,
                                        &&Sr0,
                                        &&Sr1,
                                        &&InK,
                                        &&InR,
                                        &&OutK,
                                        &&OutR,
                                        &&FetchK,
                                        &&FetchR,
                                        &&StoreK,
                                        &&StoreR,
                                        &&Jump,
                                        &&JumpZ,
                                        &&JumpNZ,
                                        &&JumpC,
                                        &&JumpNC,
                                        &&Call,
                                        &&CallZ,
                                        &&CallNZ,
                                        &&CallC,
                                        &&CallNC,
                                        &&Ret,
                                        &&RetZ,
                                        &&RetNZ,
                                        &&RetC,
                                        &&RetNC,
                                        &&RetiDisable,
                                        &&RetiEnable,
                                        &&InterruptDisable,
                                        &&InterruptEnable,
                                        &&AddcChainK,
                                        &&AddcChainR,
                                        &&SubcChainK,
                                        &&SubcChainR,
                                        &&CompcK,
                                        &&CompcR,
                                        &&TestcK,
                                        &&TestcR,
                                        &&StarK,
                                        &&StarR,
                                        &&Hwbuild,
                                        &&OutConstant,
                                        &&JumpRegisters,
                                        &&CallRegisters,
                                        &&LoadReturn,
                                        &&BankA,
                                        &&BankB};
    static_assert(sizeof(kOperations) / sizeof(kOperations[0]) == kOperationCount);

    std::int32_t pc = pc_;
    std::int64_t count = instructionCount_;
    // The fast loops look at the interrupt when a burst starts and after an
    // instruction that calls out or changes the interrupt enable.
    const std::int64_t end = count + maxCycles;
    int cycles = 0;
    const std::uint32_t codeSize = static_cast<std::uint32_t>(codeSize_);
    TExecutionCounts* const counts = executionCounts_;
    TDecoded* d = nullptr;
    std::int32_t next = 0;
    std::int32_t address = 0;
    bool carryBefore = false;
    TAccess access = TAccess::Done;

    auto writeBack = [&] {
        pc_ = pc;
        instructionCount_ = count;
    };
    auto reload = [&] {
        pc = pc_;
        count = instructionCount_;
    };
    auto x = [&]() -> std::int32_t& { return registers_[d->X]; };
    auto y = [&] { return registers_[d->Y]; };
    auto k = [&]() -> std::int32_t { return d->K; };
    auto wide = [&] { return static_cast<std::int64_t>(x()); };
    auto c = [&]() -> std::uint32_t { return carry_ ? 1 : 0; };
    auto alu = [&](std::int64_t r) {
        TAluResult result = AluResult(r);
        x() = result.Value;
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
        x() = static_cast<std::int32_t>(shifted & 0xFF);
        carry_ = carryOut != 0;
        zero_ = x() == 0;
    };
    auto bits = [&] { return static_cast<std::uint32_t>(x()); };
    auto b7 = [&] { return (static_cast<std::uint32_t>(x()) >> 7) & 1; };
    auto b0 = [&] { return static_cast<std::uint32_t>(x()) & 1; };
    // Z chaining of the PicoBlaze 6 carry instructions: the zero flag stays
    // set only when it was set before.
    auto chained = [&](auto operation, std::int64_t r) {
        bool zeroBefore = zero_;
        operation(r);
        zero_ = zero_ && zeroBefore;
    };
    // Flow: next is pc + 1 until a taken jump, call or return replaces it.
    auto call = [&](std::int32_t target) {
        if (sp_ < 0 || sp_ >= stackDepth_) {
            errorCode_ = seStackOverflow;
            return false;
        }
        Push(behaviour_.StackKeepsCallSite ? pc : pc + 1);
        next = target;
        return true;
    };
    // Takes the top entry off the stack; sp_ is left at -1 on an empty one.
    auto pop = [&] {
        if (sp_ <= 0) {
            sp_ = -1;
            errorCode_ = seStackUnderflow;
            return false;
        }
        --sp_;
        return true;
    };
    auto ret = [&] {
        if (!pop()) return false;
        next = stack_[sp_] + (behaviour_.StackKeepsCallSite ? 1 : 0);
        return true;
    };
    auto retI = [&](bool enable) {
        interruptEnable_ = enable;
        UpdateInterruptPending();
        if (!behaviour_.StackKeepsCallSite) {
            zero_ = savedZero_;
            carry_ = savedCarry_;
            if (!pop()) return false;
        } else {
            if (!pop()) return false;
            std::uint8_t flags = stackFlags_[sp_];
            zero_ = (flags & 1) != 0;
            carry_ = (flags & 2) != 0;
            SelectBank(flags >> 2 & 1);
        }
        next = stack_[sp_];
        return true;
    };
    auto registerPair = [&] { return (x() & 0xF) << 8 | (y() & 0xFF); };

Cycle:
    if constexpr (M.Watch) {
        writeBack();
        Fire(OnBeforeStep);
        NotifyBeforeCycle();
        if (DeletePending()) return TBurstEnd::Stopped;
        reload();
    }
    if (interruptPending_) [[unlikely]] {
        if (interruptEnable_ && (interruptEdge_ || interruptLine_)) {
            // An interrupt raised after N instructions is taken in place of
            // the next one, on every core: the hardware sees a line that
            // rose during instruction N at its end.
            pc_ = pc;
            bool entered = EnterInterrupt();
            pc = pc_;
            if (!entered) goto Failed;
            goto CycleDone;
        }
        // Only a stale acknowledge was pending.
        interruptAck_ = false;
        UpdateInterruptPending();
    }
Dispatch:
    d = &decoded_[pc];
    d->Executed = true;
    goto* kOperations[static_cast<int>(d->Op)];

NoCode:
    // An empty entry is never marked.
    d->Executed = false;
    errorCode_ = seNoInstruction;
    goto Failed;
Unsupported:
    errorCode_ = seUnsupported;
    goto Failed;

LoadK:
    x() = k();
    next = pc + 1;
    KORVO_COMMIT();
LoadR:
    x() = y();
    next = pc + 1;
    KORVO_COMMIT();
AndK:
    alu(wide() & k());
    next = pc + 1;
    KORVO_COMMIT();
AndR:
    alu(wide() & y());
    next = pc + 1;
    KORVO_COMMIT();
OrK:
    alu(wide() | k());
    next = pc + 1;
    KORVO_COMMIT();
OrR:
    alu(wide() | y());
    next = pc + 1;
    KORVO_COMMIT();
XorK:
    alu(wide() ^ k());
    next = pc + 1;
    KORVO_COMMIT();
XorR:
    alu(wide() ^ y());
    next = pc + 1;
    KORVO_COMMIT();
TestK:
    test(wide() & k());
    next = pc + 1;
    KORVO_COMMIT();
TestR:
    test(wide() & y());
    next = pc + 1;
    KORVO_COMMIT();
CompK:
    compare(wide() - k());
    next = pc + 1;
    KORVO_COMMIT();
CompR:
    compare(wide() - y());
    next = pc + 1;
    KORVO_COMMIT();
AddK:
    alu(wide() + k());
    next = pc + 1;
    KORVO_COMMIT();
AddR:
    alu(wide() + y());
    next = pc + 1;
    KORVO_COMMIT();
AddcK:
    alu(wide() + k() + c());
    next = pc + 1;
    KORVO_COMMIT();
AddcR:
    alu(wide() + y() + c());
    next = pc + 1;
    KORVO_COMMIT();
SubK:
    alu(wide() - k());
    next = pc + 1;
    KORVO_COMMIT();
SubR:
    alu(wide() - y());
    next = pc + 1;
    KORVO_COMMIT();
SubcK:
    alu(wide() - k() - c());
    next = pc + 1;
    KORVO_COMMIT();
SubcR:
    alu(wide() - y() - c());
    next = pc + 1;
    KORVO_COMMIT();
AddcChainK:
    chained(alu, wide() + k() + c());
    next = pc + 1;
    KORVO_COMMIT();
AddcChainR:
    chained(alu, wide() + y() + c());
    next = pc + 1;
    KORVO_COMMIT();
SubcChainK:
    chained(alu, wide() - k() - c());
    next = pc + 1;
    KORVO_COMMIT();
SubcChainR:
    chained(alu, wide() - y() - c());
    next = pc + 1;
    KORVO_COMMIT();
CompcK:
    chained(compare, wide() - k() - c());
    next = pc + 1;
    KORVO_COMMIT();
CompcR:
    chained(compare, wide() - y() - c());
    next = pc + 1;
    KORVO_COMMIT();
TestcK:
    // The carry: the parity of the result xor the carry before.
    carryBefore = carry_;
    chained(test, wide() & k());
    carry_ = carry_ != carryBefore;
    next = pc + 1;
    KORVO_COMMIT();
TestcR:
    carryBefore = carry_;
    chained(test, wide() & y());
    carry_ = carry_ != carryBefore;
    next = pc + 1;
    KORVO_COMMIT();
StarK:
    otherBank_[d->X] = k();
    next = pc + 1;
    KORVO_COMMIT();
StarR:
    otherBank_[d->X] = y();
    next = pc + 1;
    KORVO_COMMIT();
Hwbuild:
    x() = options_.HwBuild;
    carry_ = true;
    zero_ = x() == 0;
    next = pc + 1;
    KORVO_COMMIT();
BankA:
    SelectBank(0);
    next = pc + 1;
    KORVO_COMMIT();
BankB:
    SelectBank(1);
    next = pc + 1;
    KORVO_COMMIT();

Sla:
    shift(bits() << 1 | c(), b7());
    next = pc + 1;
    KORVO_COMMIT();
Rl:
    shift(bits() << 1 | b7(), b7());
    next = pc + 1;
    KORVO_COMMIT();
Slx:
    shift(bits() << 1 | b0(), b7());
    next = pc + 1;
    KORVO_COMMIT();
Sl0:
    shift(bits() << 1, b7());
    next = pc + 1;
    KORVO_COMMIT();
Sl1:
    shift(bits() << 1 | 1, b7());
    next = pc + 1;
    KORVO_COMMIT();
Sra:
    shift(c() << 7 | bits() >> 1, b0());
    next = pc + 1;
    KORVO_COMMIT();
Srx:
    shift(bits() >> 1 | b7() << 7, b0());
    next = pc + 1;
    KORVO_COMMIT();
Rr:
    shift(bits() >> 1 | b0() << 7, b0());
    next = pc + 1;
    KORVO_COMMIT();
Sr0:
    shift(bits() >> 1, b0());
    next = pc + 1;
    KORVO_COMMIT();
Sr1:
    shift(bits() >> 1 | 0x80, b0());
    next = pc + 1;
    KORVO_COMMIT();

    // Port numbers from a register are taken modulo 256, so that no
    // register value turns IN or OUT into a scratch pad access.
InK:
    address = k();
    goto Input;
InR:
    address = y() & 0xFF;
    goto Input;
FetchK:
    address = k() | 256;
    goto Input;
FetchR:
    address = (y() & 0xFF) | 256;
    goto Input;
OutK:
    address = k();
    goto Output;
OutR:
    address = y() & 0xFF;
    goto Output;
StoreK:
    address = k() | 256;
    goto Output;
StoreR:
    address = (y() & 0xFF) | 256;
    goto Output;
Input:
    writeBack();
    access = Input(d->X, address);
    goto Accessed;
Output:
    writeBack();
    access = Output(x(), address);
    goto Accessed;
OutConstant:
    // The constant in bits 11..4 (sX and sY), the port in bits 3..0.
    writeBack();
    access = Output(d->X << 4 | d->Y, kConstantPortBase + (k() & 0xF));
Accessed:
    if (access != TAccess::Done) {
        // Refused: the core was reset and the cycle fails. Abandoned: a
        // handler reset the core; nothing more of the instruction happens.
        reload();
        if (access == TAccess::Refused) goto Failed;
        goto CalledOut;
    }
    next = pc + 1;
    goto CommitCalledOut;

Jump:
    next = k();
    KORVO_COMMIT();
JumpRegisters:
    next = registerPair();
    KORVO_COMMIT();
JumpZ:
    next = zero_ ? k() : pc + 1;
    KORVO_COMMIT();
JumpNZ:
    next = zero_ ? pc + 1 : k();
    KORVO_COMMIT();
JumpC:
    next = carry_ ? k() : pc + 1;
    KORVO_COMMIT();
JumpNC:
    next = carry_ ? pc + 1 : k();
    KORVO_COMMIT();

Call:
    next = pc + 1;
    if (!call(k())) goto Failed;
    KORVO_COMMIT();
CallZ:
    next = pc + 1;
    if (zero_ && !call(k())) goto Failed;
    KORVO_COMMIT();
CallNZ:
    next = pc + 1;
    if (!zero_ && !call(k())) goto Failed;
    KORVO_COMMIT();
CallC:
    next = pc + 1;
    if (carry_ && !call(k())) goto Failed;
    KORVO_COMMIT();
CallNC:
    next = pc + 1;
    if (!carry_ && !call(k())) goto Failed;
    KORVO_COMMIT();
CallRegisters:
    next = pc + 1;
    if (!call(registerPair())) goto Failed;
    KORVO_COMMIT();

Ret:
    if (!ret()) goto Failed;
    KORVO_COMMIT();
RetZ:
    next = pc + 1;
    if (zero_ && !ret()) goto Failed;
    KORVO_COMMIT();
RetNZ:
    next = pc + 1;
    if (!zero_ && !ret()) goto Failed;
    KORVO_COMMIT();
RetC:
    next = pc + 1;
    if (carry_ && !ret()) goto Failed;
    KORVO_COMMIT();
RetNC:
    next = pc + 1;
    if (!carry_ && !ret()) goto Failed;
    KORVO_COMMIT();
LoadReturn:
    x() = k();
    if (!ret()) goto Failed;
    KORVO_COMMIT();

RetiDisable:
RetiEnable:
    if (!retI(d->Op == TOp::RetiEnable)) goto Failed;
    goto CommitCalledOut;
InterruptDisable:
    SetInterruptEnable(false);
    next = pc + 1;
    goto CommitCalledOut;
InterruptEnable:
    SetInterruptEnable(true);
    next = pc + 1;
    goto CommitCalledOut;

Commit:
    if (static_cast<std::uint32_t>(next) >= codeSize) [[unlikely]]
        goto CommitOutside;
    if constexpr (M.Count) {
        if (kFastLoop || counts) ++(*counts)[pc];
    }
    pc = next;
    ++count;
    if constexpr (kFastLoop) {
        // Nothing that the operation did can have changed the state, a
        // pending interrupt or a stop request.
        if constexpr (M.Stops)
            if (StopsAt(pc)) [[unlikely]]
                goto AtStop;
        if (count < end) [[likely]]
            goto Dispatch;
        goto Done;
    }
    goto CycleDone;

CommitCalledOut:
    if (static_cast<std::uint32_t>(next) >= codeSize) [[unlikely]]
        goto CommitOutside;
    if constexpr (M.Count) {
        if (kFastLoop || counts) ++(*counts)[pc];
    }
    pc = next;
    ++count;
CalledOut:
    if constexpr (kFastLoop) {
        if (state_ != ssRunning || stopRequested_) {
            writeBack();
            errorCode_ = seNone;
            return TBurstEnd::Stopped;
        }
    }
CycleDone:
    if constexpr (M.Watch) {
        writeBack();
        NotifyAfterCycle();
        reload();
        // An observer or a handler of OnBeforeStep may have changed it.
        if (state_ != ssRunning || stopRequested_) {
            errorCode_ = seNone;
            return TBurstEnd::Stopped;
        }
    }
    if constexpr (M.Single) goto Done;
    if constexpr (M.Stops)
        if (StopsAt(pc)) [[unlikely]]
            goto AtStop;
    if constexpr (kFastLoop) {
        if (count < end) goto Cycle;
    } else {
        if (++cycles < maxCycles) goto Cycle;
    }
    goto Done;

CommitOutside:
    // The instruction completes like any other; only the next one cannot
    // be fetched, so the run stops with the PC on the address it names.
    if constexpr (M.Count) {
        if (kFastLoop || counts) ++(*counts)[pc];
    }
    pc = next;
    ++count;
    errorCode_ = seOutsideCode;
    goto Failed;
AtStop:
    writeBack();
    errorCode_ = seNone;
    PauseAtStop();
    return TBurstEnd::Stopped;
Done:
    writeBack();
    errorCode_ = seNone;
    return TBurstEnd::Continue;
Failed:
    writeBack();
    if constexpr (M.Watch) NotifyAfterCycle();
    return TBurstEnd::Failed;
}

bool TPicoBlazeSimulator::ExecuteInstruction() {
    return RunCycles<kSingleCycle>(1) != TBurstEnd::Failed;
}

TSimulator::TBurstEnd TPicoBlazeSimulator::RunBurst(int maxCycles) {
    if (OnBeforeStep || CyclesWatched()) return RunCycles<kWatchedCycles>(maxCycles);
    bool stops = HasBreakpoints() || runToAddress_ >= 0;
    if (executionCounts_)
        return stops ? RunCycles<TLoopMode{.Stops = true, .Count = true}>(maxCycles)
                     : RunCycles<TLoopMode{.Count = true}>(maxCycles);
    return stops ? RunCycles<TLoopMode{.Stops = true}>(maxCycles)
                 : RunCycles<TLoopMode{}>(maxCycles);
}

#undef KORVO_COMMIT

} // namespace korvo
