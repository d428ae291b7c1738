#include "simulator/debugger.h"

namespace korvo {

std::unique_ptr<TPicoBlazeDebugger> CreateDebugger(TCoreKind kind) {
    return std::make_unique<TPicoBlazeDebugger>(IsCoreKind(kind) ? kind : kDefaultCoreKind);
}

} // namespace korvo
