#include "simulator/simulator.h"

namespace korvo {

std::unique_ptr<TPicoBlazeSimulator> CreateSimulator(TCoreKind kind) {
    return std::make_unique<TPicoBlazeSimulator>(IsCoreKind(kind) ? kind : kDefaultCoreKind);
}

} // namespace korvo
