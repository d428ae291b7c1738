#pragma once

#include "common/settings.h"
#include "text/kcpsm_import.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvo::cli {

// korvo import --check KCPSM.hex: assembles the converted source for
// kKcpsmCore and compares its kKcpsmHexWords words with those of the KCPSM3
// assembler's .hex file. Prints the first differing addresses with both words
// and the line of the KCPSM source, or that all words agree; errors of the
// assembly go to err with the KCPSM source's line numbers. Returns the exit
// status: success only when all words agree, failure when a word differs
// or the converted source does not assemble, usage for an unreadable or
// malformed .hex file.
int CheckKcpsmConversion(const std::string& hexFile, const std::string& sourceFile,
                         const std::vector<std::string>& sourceLines,
                         const TKcpsmConversion& conversion, const ISettingsStore& settings,
                         std::ostream& out, std::ostream& err);

} // namespace korvo::cli
