#pragma once

#include "assembler/parser_state.h"

#include <string>

namespace korvo {

// One source line, with the scanner on its first token. A line is any number
// of labels ("name:") followed by one statement: a directive (optionally
// after a name), an instruction, or nothing; then an optional comment.
// Both raise the parser's error on a bad line.

// Pass 1: defines labels and names, counts instruction words; returns " ".
std::string ParseStatementPass1(TLineContext& context);

// Pass 2: checks labels, runs directives, encodes instructions; returns the
// line's listing text.
std::string ParseStatementPass2(TLineContext& context);

} // namespace korvo
