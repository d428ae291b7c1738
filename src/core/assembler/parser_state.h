#pragma once

#include "assembler/asm_error.h"
#include "assembler/directive_state.h"
#include "assembler/instruction_set.h"
#include "assembler/lexer.h"
#include "assembler/symbol_table.h"
#include "common/log.h"
#include "common/mem_map.h"

#include <array>
#include <string>
#include <vector>

namespace korvo {

class IAssemblySink;

// Everything the line parser keeps between lines of one assembly.
struct TParserState {
    const TCoreEncoding* Core = &CoreEncoding(kDefaultCoreKind);
    TSymbolTable Symbols;
    std::array<std::string, kMaxRegisterNameCount> RegisterNames;
    TDirectiveState Directives;
    TMemMap PortMap;
    int Address = 0;
    int NextAddress = 0;
    // The files the INCL directive of the current line named, for the driver
    // to read once the line is done.
    std::vector<std::string> PendingIncludes;
    // How many included files enclose the current line; 0 in the source.
    int IncludeDepth = 0;
    // The file the current line's error is about, for messages that name it.
    std::string ErrorSubject;
    // Where in the line the token was that the parser stood on when the
    // line failed; Length 0 when at the end of the line or a comment.
    TErrorWord ErrorWord;
};

// One line being parsed: the scanner positioned in it, the parser's state and
// the sink whose code image receives the words.
struct TLineContext {
    TSynHighLighterIDE& Scanner;
    TParserState& State;
    IAssemblySink& Sink;
    ILog& Log;
    int LineIndex;
};

} // namespace korvo
