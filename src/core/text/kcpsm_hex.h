#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// The 1024 code words of a PicoBlaze 3 program.
inline constexpr int kKcpsmHexWords = 1024;

// Reads the .hex file that the KCPSM3 assembler writes: one line of 5
// hexadecimal digits for each of the 1024 words, in address order (either
// letter case, any line ends, blank lines at the end allowed). Throws
// EFileError for a file that cannot be read or is not in that form, naming
// the first bad line.
std::vector<std::uint32_t> ReadKcpsmHexFile(const std::string& path);

} // namespace korvo
