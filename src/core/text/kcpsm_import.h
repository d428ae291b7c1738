#pragma once

#include "assembler/lexer.h"
#include "common/core_kind.h"
#include "text/format_columns.h"

#include <cstddef>
#include <string>
#include <vector>

namespace korvo {

// A KCPSM source converted into this environment's dialect.
struct TKcpsmConversion {
    // A comment block that lists the renames (when there are any), then one
    // line for each line of the source.
    std::vector<std::string> Lines;
    // Each rename as text: "constant character_A -> character_A_1".
    std::vector<std::string> Renames;
    // The lines of the rename block: source line n is converted line
    // n + HeaderLines.
    std::size_t HeaderLines = 0;
};

// Rewrites a source written for the KCPSM3 assembler, line by line, into
// this environment's assembly dialect: CONSTANT and NAMEREG become EQU,
// ADDRESS becomes ORG, the KCPSM mnemonics that differ are renamed, and the
// second operand of an instruction and a branch target, when they read as a
// hexadecimal number without prefix, become a decimal or "$" number. A word
// that a CONSTANT, NAMEREG or label of the file defines is a name, never a
// number. Names the dialect cannot take or tell apart are renamed at their
// definition and every use (see TKcpsmNameTable). Comments glued to a word
// are split off. What the rewrite does not know passes through for the
// assembler to report.
TKcpsmConversion ImportKcpsmLines(const std::vector<std::string>& lines);

// The whole import: the rewrite, then the formatter over every line.
TKcpsmConversion ImportKcpsmSource(TSynHighLighterIDE& scanner,
                                   const std::vector<std::string>& lines, TCoreKind coreKind,
                                   const TFormatColumns& columns);

// The converted lines alone.
std::vector<std::string> ConvertKcpsmSource(TSynHighLighterIDE& scanner,
                                            const std::vector<std::string>& lines,
                                            TCoreKind coreKind, const TFormatColumns& columns);

} // namespace korvo
