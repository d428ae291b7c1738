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

// The data register record of addressWidth + dataWidth bits that loads word
// at address. The word takes addressWidth bits and the address dataWidth
// bits: with data first the word is in the low bits and the address above
// it, word or (address shl addressWidth); with address first the address is
// in the low bits and the word above it. The caller makes sure that both
// fit; both widths are 0 to 32.
std::uint64_t SvfDataRecord(std::uint32_t word, std::uint32_t address, int addressWidth,
                            int dataWidth, bool addressFirst);

} // namespace korvo
