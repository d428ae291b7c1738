#include "simulator/debugger.h"

namespace korvo {

std::unique_ptr<TPicoBlazeDebugger> CreateDebugger(TCoreKind kind) {
    switch (kind) {
    case TCoreKind::pbtII: return std::make_unique<TPicoBlazeIIDebugger>();
    case TCoreKind::pbt3: return std::make_unique<TPicoBlaze3Debugger>();
    case TCoreKind::pbtC: return std::make_unique<TPicoBlazeCDebugger>();
    default: return std::make_unique<TPicoBlazeIDebugger>();
    }
}

} // namespace korvo
