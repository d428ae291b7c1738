// Port, scratch pad and block RAM access of the PicoBlaze cores: what IN,
// OUT, FETCH and STORE reach, and how a refused access ends the cycle.
#include "common/number_text.h"
#include "simulator/device_kinds.h"
#include "simulator/picoblaze_simulator.h"

namespace korvo {

std::int32_t TPicoBlazeSimulator::ReadData(std::int32_t address) {
    std::int32_t value = 0;
    if (address >= kScratchPadBase) {
        std::int32_t offset = address % kScratchPadBase;
        if (offset >= ScratchPadSize())
            throw EIOError("Attempt to read from Scratch Pad at: $" + HexText(offset, 3));
        if (OnRead) value = OnRead(offset, TMemKind::ScratchPad) & 0xFF;
        NotifyAccess(TAccessKind::ScratchRead, offset, value);
        return value;
    }
    address &= 0xFF;
    const TMemMapItem& item = portMap_[address];
    switch (DeviceKindOf(item.Kind).Read) {
    case TPortRead::Cell: value = item.Value; break;
    // A register holds 8 bits, whatever a handler answers.
    case TPortRead::Device:
        if (OnRead) value = OnRead(address, item.Kind) & 0xFF;
        break;
    case TPortRead::BlockRam: value = ReadBlockRAM(item); break;
    case TPortRead::Refused:
        throw EIOError("Attempt to read from non-mapped input at: $" + HexText(address, 3));
    }
    NotifyAccess(TAccessKind::PortRead, address, value);
    return value;
}

void TPicoBlazeSimulator::WriteData(std::int32_t address, std::int32_t value) {
    if (address >= kConstantPortBase) {
        // Every constant port exists; nothing refuses a write to one.
        std::int32_t port = address % 16;
        if (OnWrite) OnWrite(port, value, TMemKind::ConstantPort);
        NotifyAccess(TAccessKind::ConstantWrite, port, value);
        return;
    }
    if (address >= kScratchPadBase) {
        std::int32_t offset = address % kScratchPadBase;
        if (offset >= ScratchPadSize())
            throw EIOError("Attempt to write to Scratch Pad at: $" + HexText(offset, 3));
        if (OnWrite) OnWrite(offset, value, TMemKind::ScratchPad);
        NotifyAccess(TAccessKind::ScratchWrite, offset, value);
        return;
    }
    address &= 0xFF;
    TMemMapItem& item = portMap_[address];
    switch (DeviceKindOf(item.Kind).Write) {
    case TPortWrite::Cell:
        item.Value = static_cast<std::uint8_t>(value & 0xFF);
        if (OnWrite) OnWrite(address, value, item.Kind);
        break;
    case TPortWrite::Device:
        if (OnWrite) OnWrite(address, value, item.Kind);
        break;
    case TPortWrite::BlockRam: AddressBlockRAM(item, value); break;
    case TPortWrite::RefusedRom:
        if (!WritesTakenBy(address))
            throw EIOError("Attempt to write to ROM at: $" + HexText(address, 3));
        break;
    case TPortWrite::Refused:
        // An observer may take writes to a port that has no output (the
        // exit port of a test run needs no declaration).
        if (!WritesTakenBy(address))
            throw EIOError("Attempt to write to non-mapped output at: $" + HexText(address, 3));
        break;
    }
    NotifyAccess(TAccessKind::PortWrite, address, value);
}

bool TPicoBlazeSimulator::RefuseAccess(const EIOError& error) {
    AddLogLine(std::string(error.what()) + "; Program Counter: $" + HexText(pc_, 2));
    if (resetOnRefusedAccess_) SetState(ssReset);
    errorCode_ = seIO;
    return false;
}

// A handler may reset the core while it serves the access; the instruction
// is then abandoned: nothing more of it takes effect.
TPicoBlazeSimulator::TAccess TPicoBlazeSimulator::Input(std::uint8_t x, std::int32_t address) {
    std::uint32_t generation = ResetGeneration();
    std::int32_t value;
    try {
        value = ReadData(address);
    } catch (const EIOError& error) {
        RefuseAccess(error);
        return TAccess::Refused;
    }
    if (generation != ResetGeneration()) return TAccess::Abandoned;
    registers_[x] = value;
    return TAccess::Done;
}

TPicoBlazeSimulator::TAccess TPicoBlazeSimulator::Output(std::int32_t value, std::int32_t address) {
    std::uint32_t generation = ResetGeneration();
    try {
        WriteData(address, value);
    } catch (const EIOError& error) {
        RefuseAccess(error);
        return TAccess::Refused;
    }
    return generation != ResetGeneration() ? TAccess::Abandoned : TAccess::Done;
}

} // namespace korvo
