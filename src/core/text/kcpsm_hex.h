#pragma once

#include "common/core_kind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// The core the KCPSM3 assembler writes for, and the shape of its .hex file:
// one line per word of the code space, each word in hexadecimal digits.
inline constexpr TCoreKind kKcpsmCore = TCoreKind::pbt3;
inline constexpr int kKcpsmHexWords = CoreDescription(kKcpsmCore).CodeSize;
inline constexpr int kKcpsmHexDigits = CoreDescription(kKcpsmCore).WordDigits();

// Reads the .hex file that the KCPSM3 assembler writes: one line of
// kKcpsmHexDigits hexadecimal digits for each of the kKcpsmHexWords words,
// in address order (either
// letter case, any line ends, blank lines at the end allowed). Throws
// EFileError for a file that cannot be read or is not in that form, naming
// the first bad line.
std::vector<std::uint32_t> ReadKcpsmHexFile(const std::string& path);

} // namespace korvo
