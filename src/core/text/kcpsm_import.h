#pragma once

#include "assembler/lexer.h"
#include "common/core_kind.h"
#include "text/format_columns.h"

#include <string>
#include <vector>

namespace korvo {

// Rewrites a source written for the KCPSM assemblers, line by line, into this
// environment's assembly dialect: CONSTANT and NAMEREG become EQU, ADDRESS
// becomes ORG, the KCPSM mnemonics that differ are renamed, and the second
// operand of an instruction, when it reads as a hexadecimal number without
// prefix, becomes a decimal or "$" number. A word that a CONSTANT, NAMEREG or
// label of the file defines is a name, never a number. The rewrite is
// textual: what it does not know passes through for the assembler to report.
std::vector<std::string> ConvertKcpsmLines(const std::vector<std::string>& lines);

// The whole import: the rewrite, then the formatter over every line.
std::vector<std::string> ConvertKcpsmSource(TSynHighLighterIDE& scanner,
                                            const std::vector<std::string>& lines,
                                            TCoreKind coreKind, const TFormatColumns& columns);

} // namespace korvo
