#pragma once

// Provisional block RAM peripheral so the simulator builds before the
// assembler's own version lands; replaced by it on merge.

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

class TBRAM {
public:
    void SetSize(int size) { Data.assign(static_cast<std::size_t>(size & 0xFFFF), 0); }
    int Size() const { return static_cast<int>(Data.size()); }
    void SetAddress(int value) {
        AddressHigh = static_cast<std::uint16_t>((value & 0xFFFF) >> 8);
        AddressLow = static_cast<std::uint16_t>(value & 0xFF);
    }
    int Address() const { return AddressHigh * 256 + AddressLow; }
    void Write(int value) {
        if (Address() < Size()) Data[static_cast<std::size_t>(Address())] = value & 0xFF;
    }

    std::vector<std::uint8_t> Data;
    std::uint16_t AddressLow = 0;
    std::uint16_t AddressHigh = 0;
};

} // namespace korvo
