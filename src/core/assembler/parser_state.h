#pragma once

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

class TPicoBlazeDebugger;

inline constexpr int kRegisterNameCount = 32;

// Everything the line parser keeps between lines of one assembly.
struct TParserState {
    const TCoreEncoding* Core = &CoreEncoding(TCoreKind::pbtI);
    TSymbolTable Symbols;
    std::array<std::string, kRegisterNameCount> RegisterNames;
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
};

// One line being parsed: the scanner positioned in it, the parser's state and
// the simulator whose code image receives the words.
struct TLineContext {
    TSynHighLighterIDE& Scanner;
    TParserState& State;
    TPicoBlazeDebugger& Simulator;
    ILog& Log;
    int LineIndex;
};

} // namespace korvo
