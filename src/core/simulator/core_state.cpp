// The state of a PicoBlaze core as the record of a run keeps it, and the
// replay of cycles that ran already.
#include "output/bram.h"
#include "simulator/picoblaze_simulator.h"
#include "simulator/state_bytes.h"

namespace korvo {

void TPicoBlazeSimulator::SaveState(TStateWriter& out) const {
    out.Put(pc_);
    out.Put(instructionCount_);
    out.Put(registers_);
    out.Put(otherBank_);
    out.Put(bankB_);
    out.Put(stack_);
    out.Put(stackFlags_);
    out.Put(sp_);
    const bool flags[] = {zero_,          savedZero_,       carry_,
                          savedCarry_,    interruptEnable_, interruptAck_,
                          interruptLine_, interruptEdge_};
    out.Put(flags);
    out.Put(errorCode_);
    for (int port : statePorts_) {
        const TMemMapItem& item = portMap_[port];
        out.Put(item.Value);
        if (item.BlockRAM) {
            out.Put(item.BlockRAM->AddressLow);
            out.Put(item.BlockRAM->AddressHigh);
        }
    }
}

void TPicoBlazeSimulator::RestoreState(TStateReader& in) {
    in.Get(pc_);
    in.Get(instructionCount_);
    in.Get(registers_);
    in.Get(otherBank_);
    in.Get(bankB_);
    in.Get(stack_);
    in.Get(stackFlags_);
    in.Get(sp_);
    bool flags[8] = {};
    in.Get(flags);
    zero_ = flags[0];
    savedZero_ = flags[1];
    carry_ = flags[2];
    savedCarry_ = flags[3];
    interruptEnable_ = flags[4];
    interruptAck_ = flags[5];
    interruptLine_ = flags[6];
    interruptEdge_ = flags[7];
    UpdateInterruptPending();
    in.Get(errorCode_);
    for (int port : statePorts_) {
        TMemMapItem& item = portMap_[port];
        in.Get(item.Value);
        if (item.BlockRAM) {
            in.Get(item.BlockRAM->AddressLow);
            in.Get(item.BlockRAM->AddressHigh);
        }
    }
}

void TPicoBlazeSimulator::SetReplaying(bool on) {
    MuteAccesses(on);
    if (on) {
        countsAside_ = executionCounts_;
        executionCounts_ = nullptr;
    } else {
        executionCounts_ = countsAside_;
        countsAside_ = nullptr;
    }
}

} // namespace korvo
