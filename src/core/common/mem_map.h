#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace korvo {

class TBRAM;

// What a port address (or scratch pad cell) is mapped to. Switches over it
// list every kind, so that a new kind shows up wherever it needs handling.
enum class TMemKind : std::uint8_t {
    None = 0,
    RAM = 1,
    ROM = 2,
    Input = 3,
    Output = 4,
    IO = 5,
    InOut = 6,
    ScratchPad = 7, // never stored in a map: the kind of scratch pad accesses
    BlockRAM = 8,
    UART = 9,
    // Never stored in a map: the kind of writes to the constant output ports
    // of OUTK, whose addresses are 0 to 15.
    ConstantPort = 10,
};

// One port address of the port map.
struct TMemMapItem {
    TMemKind Kind = TMemKind::None;
    std::uint8_t Value = 0;   // RAM or ROM cell content
    bool Visible = false;     // the I/O panels show a frame for it
    std::int32_t TcpPort = 0; // UART: TCP port on the declared port, -1 on its partner
    // BROM: the block RAM on the declared port. Shared, so that a simulator
    // keeps its block RAMs alive after the assembler has moved on to another
    // document.
    std::shared_ptr<TBRAM> BlockRAM;
    std::string InName;
    std::string OutName;
    std::string InFile;
    std::string OutFile;
    std::string OutFormat;
};

inline constexpr int kPortCount = 256;
using TMemMap = std::array<TMemMapItem, kPortCount>;

} // namespace korvo
