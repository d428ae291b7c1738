#pragma once

#include <cstdint>
#include <string>

namespace korvo {

// The low bits bits of value as upper-case hexadecimal with exactly
// (bits + 3) / 4 digits, leading zeros kept; bits above 64 are zero. A field
// of no bits is written "0".
std::string HexBits(int bits, std::uint64_t value);

// A field of bits one bits, as HexBits writes it.
std::string OnesBits(int bits);

// The data register record that loads word at address: with data first the
// word fills the low dataWidth bits and the address the addressWidth bits
// above it; with address first the other way round. Each field is cut to its
// width, so the record never exceeds addressWidth + dataWidth bits. Both
// widths are 0 to 32.
std::uint64_t SvfDataRecord(std::uint32_t word, std::uint32_t address, int addressWidth,
                            int dataWidth, bool addressFirst);

} // namespace korvo
