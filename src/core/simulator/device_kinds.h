#pragma once

#include "common/mem_map.h"
#include "simulator/io_models.h"
#include "simulator/port_device.h"
#include "simulator/uart_model.h"

#include <cstdint>
#include <string_view>

namespace korvo {

// How the simulator serves an IN from a port of a kind.
enum class TPortRead : std::uint8_t {
    Cell,     // the map entry's own value (RAM, ROM)
    Device,   // the read handler
    BlockRam, // the block RAM at its address register
    Refused,  // not a mapped input
};

// How the simulator serves an OUT to a port of a kind.
enum class TPortWrite : std::uint8_t {
    Cell,       // stores the value in the map entry, then the write handler
    Device,     // the write handler
    BlockRam,   // the block RAM's address register
    RefusedRom, // refused as a write to ROM unless an observer takes it
    Refused,    // not a mapped output unless an observer takes it
};

// What a kind of port map entry is in a simulation.
struct TDeviceKind {
    // Its name in the end state: "input", "uart".
    std::string_view Name;
    // Builds the devices of a port of this kind; null for a kind that has
    // none (the simulator serves RAM, ROM and block RAM itself).
    TDeviceFactory Factory;
    TPortRead Read;
    TPortWrite Write;
};

// Inline, so that IN and OUT resolve it without a call.
constexpr TDeviceKind DeviceKindOf(TMemKind kind) {
    switch (kind) {
    case TMemKind::RAM: return {"ram", nullptr, TPortRead::Cell, TPortWrite::Cell};
    case TMemKind::ROM: return {"rom", nullptr, TPortRead::Cell, TPortWrite::RefusedRom};
    case TMemKind::Input: return {"input", MakeInputPort, TPortRead::Device, TPortWrite::Refused};
    case TMemKind::Output:
        return {"output", MakeOutputPort, TPortRead::Refused, TPortWrite::Device};
    case TMemKind::IO: return {"io", MakeBidirectionalPort, TPortRead::Device, TPortWrite::Device};
    case TMemKind::InOut: return {"in-out", MakeInOutPort, TPortRead::Device, TPortWrite::Device};
    case TMemKind::BlockRAM:
        return {"block-ram", nullptr, TPortRead::BlockRam, TPortWrite::BlockRam};
    case TMemKind::UART: return {"uart", MakeUart, TPortRead::Device, TPortWrite::Device};
    case TMemKind::None:
    // Never stored in a map.
    case TMemKind::ScratchPad:
    case TMemKind::ConstantPort: break;
    }
    return {"none", nullptr, TPortRead::Refused, TPortWrite::Refused};
}

} // namespace korvo
