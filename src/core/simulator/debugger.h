#pragma once

// The simulator classes: TDebugger (state machine, stepping, breakpoints) and
// TPicoBlazeDebugger (the PicoBlaze family, one object per core kind).
#include "simulator/debugger_base.h"
#include "simulator/picoblaze_debugger.h"

#include <memory>

namespace korvo {

// The simulator of a core; the first core's for a kind of no core.
std::unique_ptr<TPicoBlazeDebugger> CreateDebugger(TCoreKind kind);

} // namespace korvo
