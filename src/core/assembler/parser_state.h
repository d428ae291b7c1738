#pragma once

#include "assembler/directive_state.h"
#include "assembler/instruction_set.h"
#include "assembler/lexer.h"
#include "assembler/symbol_table.h"
#include "common/log.h"
#include "common/mem_map.h"

#include <array>
#include <string>

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
