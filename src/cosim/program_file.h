#pragma once

#include "common/core_options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvo::cosim {

// The words of a program for a core built with options: a source (.psm)
// that Korvo assembles, or a file of words (a .hex, a words file of korvo asm
// --words, a .log listing or a ROM .vhd/.v). Throws std::exception with a
// message that names the file.
std::vector<std::uint32_t> ReadProgramFile(TCoreKind core, const TCoreOptions& options,
                                           const std::string& path);

} // namespace korvo::cosim
