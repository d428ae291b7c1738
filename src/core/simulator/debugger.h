#pragma once

// The simulator classes: TDebugger (state machine, stepping, breakpoints),
// TPicoBlazeDebugger (the PicoBlaze family) and one class per core.
#include "simulator/debugger_base.h"
#include "simulator/picoblaze_debugger.h"

#include <memory>

namespace korvo {

class TPicoBlazeIDebugger : public TPicoBlazeDebugger {
public:
    TPicoBlazeIDebugger() : TPicoBlazeDebugger(TCoreKind::pbtI) {}
    TCoreKind CoreKind() const override { return TCoreKind::pbtI; }
    int CodeSize() const override { return 256; }
};

class TPicoBlazeIIDebugger : public TPicoBlazeDebugger {
public:
    TPicoBlazeIIDebugger() : TPicoBlazeDebugger(TCoreKind::pbtII) {}
    TCoreKind CoreKind() const override { return TCoreKind::pbtII; }
    int CodeSize() const override { return 1024; }
};

class TPicoBlaze3Debugger : public TPicoBlazeDebugger {
public:
    TPicoBlaze3Debugger() : TPicoBlazeDebugger(TCoreKind::pbt3) {}
    TCoreKind CoreKind() const override { return TCoreKind::pbt3; }
    int CodeSize() const override { return 1024; }
    bool UsesScratchPad() const override { return usesScratchPad_; }
    void SetUsesScratchPad(bool uses) override { usesScratchPad_ = uses; }
    int ScratchPadSize() const override { return scratchPadSize_; }

private:
    bool usesScratchPad_ = false;
};

class TPicoBlazeCDebugger : public TPicoBlazeDebugger {
public:
    TPicoBlazeCDebugger() : TPicoBlazeDebugger(TCoreKind::pbtC) {}
    TCoreKind CoreKind() const override { return TCoreKind::pbtC; }
    int CodeSize() const override { return 256; }
};

// The simulator class of a core; PicoBlaze I for an unknown kind.
std::unique_ptr<TPicoBlazeDebugger> CreateDebugger(TCoreKind kind);

} // namespace korvo
