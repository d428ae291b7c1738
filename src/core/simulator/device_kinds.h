#pragma once

#include "common/mem_map.h"
#include "simulator/port_device.h"

#include <string_view>

namespace korvo {

// What a kind of port map entry is in a simulation.
struct TDeviceKind {
    // Its name in the end state: "input", "uart".
    std::string_view Name;
    // Builds the devices of a port of this kind; null for a kind that has
    // none (the simulator serves RAM, ROM and block RAM itself).
    TDeviceFactory Factory;
};

TDeviceKind DeviceKindOf(TMemKind kind);

} // namespace korvo
