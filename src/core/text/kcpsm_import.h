#pragma once

#include "assembler/lexer.h"
#include "common/core_kind.h"
#include "text/format_columns.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace korvo {

// The language of a KCPSM source.
enum class TKcpsmDialect : std::uint8_t { Kcpsm3, Kcpsm6 };

struct TKcpsmImportOptions {
    // Read the source as this language; without one, KCPSM6 when the source
    // uses syntax only KCPSM6 knows (LooksLikeKcpsm6), KCPSM3 otherwise.
    std::optional<TKcpsmDialect> Dialect;
    // The source file: KCPSM6 INCLUDE files are found beside it.
    std::string SourceFile;
    // The time and the assembler version that KCPSM6's predefined stamps
    // (datestamp$, timestamp_hours, ..., KCPSM6_version$) give; without them
    // the time of the import and kKcpsm6Version.
    std::optional<std::tm> AssemblyTime;
    std::optional<std::string> AssemblerVersion;
};

// Where a converted line came from: a line of the source (file 0) or of a
// file it includes.
struct TKcpsmOrigin {
    int File = 0;
    int Line = 0; // from 1; 0 for a line of the header
};

// A KCPSM source converted into this environment's dialect.
struct TKcpsmConversion {
    TKcpsmDialect Dialect = TKcpsmDialect::Kcpsm3;
    // A comment block that lists the renames (when there are any), the
    // predefined constants of KCPSM6 the program uses as EQU lines, then the
    // converted lines: one for each line of a KCPSM3 source; for KCPSM6 also
    // the lines of the included files, and one line for each character or
    // byte that OUTPUTK or LOAD&RETURN sends of a STRING or TABLE.
    std::vector<std::string> Lines;
    // Each rename as text: "constant character_A -> character_A_1".
    std::vector<std::string> Renames;
    // The lines of the header.
    std::size_t HeaderLines = 0;
    // One entry for each line of Lines.
    std::vector<TKcpsmOrigin> Origins;
    // The source file and the files it includes, by the index of an origin.
    std::vector<std::string> Files;
    // What the reader of KCPSM6 INCLUDE names tells the user (see
    // FlattenKcpsmIncludes).
    std::vector<std::string> Notes;
};

// Rewrites a KCPSM source, line by line, into this environment's assembly
// dialect: CONSTANT and NAMEREG become EQU, ADDRESS becomes ORG, the KCPSM
// mnemonics that differ are renamed, and the second operand of an
// instruction and a branch target, when they read as a hexadecimal number
// without prefix, become a decimal or "$" number. A word that a CONSTANT,
// NAMEREG or label of the file defines is a name, never a number. Names the
// dialect cannot take or tell apart are renamed at their definition and every
// use (see TKcpsmNameTable). Comments glued to a word are split off. What the
// rewrite does not know passes through for the assembler to report.
//
// KCPSM6 adds its instructions (OUTPUTK, LOAD&RETURN, REGBANK, JUMP@ ...),
// its numbers (42'd, 0101'b, "A", label'upper, label'lower, ~name), its
// predefined constants, STRING and TABLE (expanded where OUTPUTK and
// LOAD&RETURN use them), INCLUDE (the file put in its place between marker
// comments), DEFAULT_JUMP (DEFJUMP) and INST, and addresses up to FFF.
// Throws EFileError when an included file cannot be read.
TKcpsmConversion ImportKcpsmLines(const std::vector<std::string>& lines,
                                  const TKcpsmImportOptions& options = {});

// The whole import: the rewrite, then the formatter over every line.
TKcpsmConversion ImportKcpsmSource(TSynHighLighterIDE& scanner,
                                   const std::vector<std::string>& lines, TCoreKind coreKind,
                                   const TFormatColumns& columns,
                                   const TKcpsmImportOptions& options = {});

// The converted lines alone.
std::vector<std::string> ConvertKcpsmSource(TSynHighLighterIDE& scanner,
                                            const std::vector<std::string>& lines,
                                            TCoreKind coreKind, const TFormatColumns& columns,
                                            const TKcpsmImportOptions& options = {});

} // namespace korvo
