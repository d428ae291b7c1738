#pragma once

#include "assembler/lexer.h"
#include "common/core_kind.h"
#include "text/format_columns.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Rewrites one source line into the canonical layout: mnemonics and
// directives upper case at Column1 with their operands at Column2, register
// names in one spelling, numbers normalised, operators spaced, comments at
// Column3. The scanner (normally the one shared with the editor and the
// assembler, keywords loaded) splits the line, so the formatter sees exactly
// the tokens the assembler sees. Only the distinction PicoBlaze II or not of
// the core matters (its registers have two digits).
std::string FormatLine(TSynHighLighterIDE& scanner, std::string_view line, int lineNumber,
                       TCoreKind coreKind, const TFormatColumns& columns);

// FormatLine over every line, numbered from 1.
std::vector<std::string> FormatLines(TSynHighLighterIDE& scanner,
                                     const std::vector<std::string>& lines, TCoreKind coreKind,
                                     const TFormatColumns& columns);

} // namespace korvo
