#pragma once

#include "common/core_kind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvo {

// The cores the KCPSM3 and KCPSM6 assemblers write for, and the shape of
// their .hex files: one line per word of the code space (KCPSM6 always writes
// the whole of its largest build), each word in hexadecimal digits.
inline constexpr TCoreKind kKcpsmCore = TCoreKind::pbt3;
inline constexpr TCoreKind kKcpsm6Core = TCoreKind::pbt6;
inline constexpr int kKcpsmHexWords = CoreDescription(kKcpsmCore).CodeSize;
inline constexpr int kKcpsm6HexWords = CoreDescription(kKcpsm6Core).CodeSize;
inline constexpr int kKcpsmHexDigits = CoreDescription(kKcpsmCore).WordDigits();
static_assert(CoreDescription(kKcpsm6Core).WordDigits() == kKcpsmHexDigits);

// Reads the .hex file that the KCPSM3 or KCPSM6 assembler writes: one line
// of kKcpsmHexDigits hexadecimal digits for each of the kKcpsmHexWords or
// kKcpsm6HexWords words, in address order (either letter case, any line
// ends, blank lines at the end allowed). Throws EFileError for a file that
// cannot be read or is not in that form, naming the first bad line.
std::vector<std::uint32_t> ReadKcpsmHexFile(const std::string& path);

// The words of any file the KCPSM3 or KCPSM6 assembler writes, told by its
// extension in either case: a .log listing (ReadKcpsmLogFile), a program ROM
// .vhd or .v (ReadKcpsmRomFile), otherwise a .hex file.
std::vector<std::uint32_t> ReadKcpsmWordsFile(const std::string& path);
// Whether ReadKcpsmWordsFile reads the file as a .log listing.
bool IsKcpsmLogFile(const std::string& path);

} // namespace korvo
