#pragma once

#include "common/settings.h"
#include "text/kcpsm_import.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// korvo import --check KCPSM.hex: assembles the converted source and
// compares its words with expected, those of the KCPSM assembler's .hex file:
// for PicoBlaze 3 the 1024 words of a KCPSM3 file, for PicoBlaze 6 (4K of
// program memory) the 4096 of a KCPSM6 file. Prints the first differing
// addresses with both words and the line of the KCPSM source, or that all
// words agree; errors of the assembly go to err with the KCPSM source's file
// and line. Returns the exit status: success only when all words agree,
// failure when a word differs or the converted source does not assemble.
int CheckKcpsmConversion(const std::vector<std::uint32_t>& expected, const std::string& hexFile,
                         const std::string& sourceFile, const std::vector<std::string>& sourceLines,
                         const TKcpsmConversion& conversion, const ISettingsStore& settings,
                         std::ostream& out, std::ostream& err);

} // namespace korvo::cli
