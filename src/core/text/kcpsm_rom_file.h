#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// Reads the words from a program ROM in VHDL or Verilog that the KCPSM3 or
// KCPSM6 assembler filled from its template. Block RAM rows INIT_xx and
// INITP_xx, written INIT_00 => X"...", .INIT_00(256'h...) or
// INIT_00 = 256'h..., hold the words: 18 bits wide, 16 words of their low 16
// bits in an INIT row (word 0 rightmost) and their top 2 bits in an INITP
// row; 9 bits wide, 32 entries of 8 bits and 256 of 1 bit.
// A KCPSM6 ROM (one that names C_RAM_SIZE_KWORDS or kcpsm6) gives
// kKcpsm6HexWords words, taken from its block RAMs by instance name:
// kcpsm6_rom (18 bits), kcpsm6_rom_l and _h (bits 8..0 and 17..9), or
// kcpsm6_rom_ll, _lh, _hl and _hh (the same for the lower and upper 2K); where
// the template holds several layouts, the one with the most words counts;
// where the instances have other names, one block RAM 18 bits wide, two or
// four 9 bits wide (by their DATA_WIDTH_A or READ_WIDTH_A) in that order. A
// KCPSM3 ROM gives kKcpsmHexWords words from the first rows INIT_00 to
// INIT_3F and INITP_00 to INITP_07. Throws EFileError for a file that cannot
// be read or lacks the rows.
std::vector<std::uint32_t> ReadKcpsmRomFile(const std::string& path);

} // namespace korvo
