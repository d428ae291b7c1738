#pragma once

#include "assembler/expression.h"
#include "assembler/parser_state.h"

#include <string>
#include <string_view>

namespace korvo {

// Small readers shared by the directive and instruction handlers. Each
// starts at the scanner's current token and leaves the scanner on the first
// non-space token after what it read.

TOperand Evaluate(TLineContext& context);

// A "," must come next.
void ExpectComma(TLineContext& context);
// Moves past a "," when there is one.
bool SkipComma(TLineContext& context);

// A string token, unquoted; raises message when the token is not a string.
std::string ReadString(TLineContext& context, const char* message);

// Only a comment or the end of the line may follow.
void ExpectEndOfStatement(TLineContext& context);

// A register operand: its number, checked against the core.
int ReadRegister(TLineContext& context);
// Raises the core's message when a register number is above its registers.
void CheckRegisterRange(const TLineContext& context, int number, std::string_view name);

// Scans the line again up to the token that starts at position, for a reader
// that looked ahead.
void RewindTo(TSynHighLighterIDE& scanner, int position);

// A file name from a directive: a relative name is taken in the folder of
// the file that holds the directive (SourceDirectory), an absolute one as
// written.
std::string FileInSourceDirectory(const TParserState& state, const std::string& name);

} // namespace korvo
