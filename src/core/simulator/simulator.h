#pragma once

// The simulator classes: TSimulator (state machine, stepping, breakpoints) and
// TPicoBlazeSimulator (the PicoBlaze family, one object per core kind).
#include "simulator/picoblaze_simulator.h"
#include "simulator/simulator_base.h"

#include <memory>

namespace korvo {

// The simulator of a core; the first core's for a kind of no core.
std::unique_ptr<TPicoBlazeSimulator> CreateSimulator(TCoreKind kind);

} // namespace korvo
