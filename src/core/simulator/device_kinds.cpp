#include "simulator/device_kinds.h"

#include "simulator/io_models.h"
#include "simulator/uart_model.h"

namespace korvo {

TDeviceKind DeviceKindOf(TMemKind kind) {
    switch (kind) {
    case TMemKind::RAM: return {"ram", nullptr};
    case TMemKind::ROM: return {"rom", nullptr};
    case TMemKind::Input: return {"input", MakeInputPort};
    case TMemKind::Output: return {"output", MakeOutputPort};
    case TMemKind::IO: return {"io", MakeBidirectionalPort};
    case TMemKind::InOut: return {"in-out", MakeInOutPort};
    case TMemKind::BlockRAM: return {"block-ram", nullptr};
    case TMemKind::UART: return {"uart", MakeUart};
    case TMemKind::None:
    // Never stored in a map.
    case TMemKind::ScratchPad:
    case TMemKind::ConstantPort: break;
    }
    return {"none", nullptr};
}

} // namespace korvo
