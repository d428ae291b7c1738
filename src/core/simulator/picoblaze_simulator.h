#pragma once

#include "common/assembly_sink.h"
#include "common/core_kind.h"
#include "common/core_options.h"
#include "common/mem_map.h"
#include "simulator/decode.h"
#include "simulator/simulator_base.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace korvo {

class TStateReader;
class TStateWriter;

// The checks a run of cycles makes beyond the instructions themselves; each
// combination is a loop of its own, so that what is not needed costs nothing.
struct TLoopMode {
    bool Stops = false;  // breakpoints and the run-to address
    bool Count = false;  // execution counts
    bool Watch = false;  // OnBeforeStep and observers of every cycle
    bool Single = false; // one cycle of ExecuteInstruction: no run checks
};

// The PicoBlaze family: code image, port map, registers, flags and return
// stack, and the instruction cycle shared by every core. Each core
// contributes its decode table (decode_tables.cpp) and its description
// (common/core_kind.h). Code words are decoded when they are stored, so the
// run loop only dispatches.
class TPicoBlazeSimulator final : public TSimulator, public IAssemblySink {
public:
    // kind must be the kind of a core.
    explicit TPicoBlazeSimulator(TCoreKind kind);

    TCoreKind CoreKind() const override { return core_.Kind; }
    int CodeSize() const override { return codeSize_; }

    // The build of the core's hardware (a core without build options keeps
    // its fixed values). A program size that differs from the present one
    // empties the code image, so set the options before assembling.
    void SetCoreOptions(const TCoreOptions& options);
    const TCoreOptions& CoreOptions() const { return options_; }

    std::int32_t ReadData(std::int32_t address) override;
    void WriteData(std::int32_t address, std::int32_t value) override;
    void SetCodeEntry(int address, const TCodeEntry& entry) override;
    void GetCodeEntry(int address, TCodeEntry& entry) const override;
    bool HasCode(int address) const override;
    bool IsExecuted(int address) const override;
    void ClearCodeImage() override;
    void ResetCore() override;
    int LineToAddress(int line) const override;
    int AddressToLine(int address) const override;
    bool ExecuteInstruction() final;

    // The program contains FETCH or STORE; always false on a core without a
    // scratch pad.
    bool UsesScratchPad() const { return core_.HasScratchPad && usesScratchPad_; }
    void SetUsesScratchPad(bool uses) override { usesScratchPad_ = uses; }
    // A core with build options starts with the size of its options.
    void SetScratchPadSize(int size) { scratchPadSize_ = size; }
    // Bytes of scratch pad; 0 on a core without one.
    int ScratchPadSize() const { return core_.HasScratchPad ? scratchPadSize_ : 0; }

    // --- Panel accessors ---
    int RegisterCount() const { return core_.RegisterCount; }
    int StackDepth() const { return core_.StackDepth; }
    int InterruptVector() const { return interruptVector_; }
    // Registers 0 to kMaxRegisterCount - 1 of the active bank; other numbers
    // read 0 and ignore writes.
    std::int32_t Register(int n) const;
    void SetRegister(int n, std::int32_t value);
    // Banks of a core with more than one: 0 is bank A, 1 bank B.
    int RegisterBanks() const { return core_.RegisterBanks; }
    int ActiveBank() const { return bankB_ ? 1 : 0; }
    void SelectBank(int bank);
    std::int32_t BankRegister(int bank, int n) const;
    void SetBankRegister(int bank, int n, std::int32_t value);
    // Return addresses, the bottom entry first.
    std::int32_t StackEntry(int index) const;
    // The zero and carry flags and the bank kept with a stack entry (on a
    // core whose stack keeps them): bit 0 zero, bit 1 carry, bit 2 bank B.
    std::uint8_t StackEntryFlags(int index) const;
    std::int32_t SP() const { return sp_; }
    std::uint8_t ErrorCode() const { return errorCode_; }
    void SetErrorCode(std::uint8_t code) override { errorCode_ = static_cast<TSimError>(code); }

    bool ZeroFlag() const { return zero_; }
    void SetZeroFlag(bool on) { zero_ = on; }
    bool SavedZero() const { return savedZero_; }
    void SetSavedZero(bool on) { savedZero_ = on; }
    bool CarryFlag() const { return carry_; }
    void SetCarryFlag(bool on) { carry_ = on; }
    bool SavedCarry() const { return savedCarry_; }
    void SetSavedCarry(bool on) { savedCarry_ = on; }
    bool InterruptEnable() const { return interruptEnable_; }
    void SetInterruptEnable(bool on);
    // An interrupt was seen and is entered on the next cycle.
    bool InterruptAck() const { return interruptAck_; }
    void SetInterruptAck(bool on);
    // The steady interrupt input.
    bool InterruptLine() const { return interruptLine_; }
    void SetInterruptLine(bool on);
    // One pending interrupt event, cleared when the interrupt is entered.
    bool InterruptEdge() const { return interruptEdge_; }
    void SetInterruptEdge(bool on);

    // The constant output ports (OUTK) the code image writes to: bit p for
    // port p.
    std::uint16_t ConstantPortsUsed() const;

    // Whole-record copies of the port map.
    TMemMapItem GetPortItem(int address) const;
    void SetPortItem(int address, const TMemMapItem& item) override;
    // The scratch pad records; the simulator never maps them.
    TMemMapItem GetStoreItem(int address) const;

    // Completed instructions per code address are counted into counts while
    // it is set (null: not counted).
    using TExecutionCounts = std::array<std::uint64_t, kCodeImageSize>;
    void SetExecutionCounts(TExecutionCounts* counts) { executionCounts_ = counts; }

    // A refused port or scratch pad access resets the core (as the IDE
    // does) unless this is cleared; the run then halts with the state at
    // the failing instruction, as a report of the run needs it.
    void SetResetOnRefusedAccess(bool reset) { resetOnRefusedAccess_ = reset; }

    // --- What stepping back needs (core_state.cpp) ---
    // The core's state: PC and instruction count, both banks, flags,
    // interrupt state, stack, error code, the RAM cells and block RAM
    // addresses of the port map.
    void SaveState(TStateWriter& out) const;
    void RestoreState(TStateReader& in);
    // While a record replays cycles (ExecuteInstruction) that ran already,
    // no observer sees their accesses and no execution is counted again.
    void SetReplaying(bool on);
    // The record of the run, not owned; null when nothing records.
    void SetRecorder(IRunRecorder* recorder) { recorder_ = recorder; }

protected:
    TBurstEnd RunBurst(int maxCycles) override;
    int CallReturnDepth() const override;
    // A breakpoint at pc, or the run-to address at the depth it wants.
    [[gnu::always_inline]] bool StopsAt(std::int32_t pc) const {
        return (pc == runToAddress_ && (runToStackLimit_ < 0 || sp_ <= runToStackLimit_)) ||
               breakpoints_[pc];
    }
    int StackLevel() const override { return sp_; }
    void BeforeCycles() override {
        if (recorder_) recorder_->BeforeCycles();
    }

private:
    enum class TAccess { Done, Refused, Abandoned };
    // Addresses of ReadData and WriteData: ports from 0, the scratch pad
    // from 256, the constant output ports of OUTK from 512.
    static constexpr std::int32_t kScratchPadBase = 256;
    static constexpr std::int32_t kConstantPortBase = 512;

    template <TLoopMode M>
    TBurstEnd RunCycles(int maxCycles);
    bool EnterInterrupt();
    void Push(std::int32_t address);
    void UpdateInterruptPending();
    TAccess Input(std::uint8_t x, std::int32_t address);
    TAccess Output(std::int32_t value, std::int32_t address);
    bool RefuseAccess(const EIOError& error);
    std::int32_t ReadBlockRAM(const TMemMapItem& item) const;
    void AddressBlockRAM(TMemMapItem& item, std::int32_t value);

    const TCoreDescription& core_;
    const TCoreDecoding& decoding_;
    const TCoreBehaviour behaviour_;
    int codeSize_;
    const int stackDepth_;
    int interruptVector_;
    TCoreOptions options_;

    // Line and word of each entry; the executed flags live in decoded_.
    std::array<TCodeEntry, kCodeImageSize> codeImage_{};
    std::array<TDecoded, kCodeImageSize> decoded_{};
    TMemMap portMap_{};

    // The active bank; a core with two banks keeps the other one apart and
    // swaps the two when the program selects it.
    std::array<std::int32_t, kMaxRegisterCount> registers_{};
    std::array<std::int32_t, kMaxRegisterCount> otherBank_{};
    bool bankB_ = false;
    std::array<std::int32_t, kMaxStackDepth> stack_{};
    std::array<std::uint8_t, kMaxStackDepth> stackFlags_{};
    std::int32_t sp_ = 0;
    bool zero_ = false;
    bool savedZero_ = false;
    bool carry_ = false;
    bool savedCarry_ = false;
    bool interruptEnable_ = false;
    bool interruptAck_ = false;
    bool interruptLine_ = false;
    bool interruptEdge_ = false;
    // Enable and (edge or line), or a stale acknowledge: the one test of the
    // cycle's first step.
    bool interruptPending_ = false;
    TExecutionCounts* executionCounts_ = nullptr;
    // An enumeration, not a byte: stores to a byte type could alias every
    // other member and keep the compiler from holding them in registers.
    TSimError errorCode_ = seNone;
    bool usesScratchPad_ = false;
    bool resetOnRefusedAccess_ = true;
    int scratchPadSize_ = 0;
    // What stepping back needs, kept after everything the run loop uses.
    // The ports whose record changes in a run: RAM and ROM cells, block
    // RAM addresses.
    std::vector<int> statePorts_;
    // The counts put aside while a record replays.
    TExecutionCounts* countsAside_ = nullptr;
    IRunRecorder* recorder_ = nullptr;
};

} // namespace korvo
