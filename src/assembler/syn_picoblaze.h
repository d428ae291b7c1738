#pragma once

#include "assembler/lexer.h"

namespace korvo {

// The scanner with the instruction and directive keywords loaded. One object
// of it serves as highlighter, as the assembler's line parser and as the
// formatter's scanner.
class TSynPicoBlaze : public TSynHighLighterIDE {
public:
    TSynPicoBlaze();

    static constexpr const char* kLanguageName = "Korvo assembly language";
    static constexpr const char* kDefaultFilter = "Korvo files (*.psm,*.asm)|*.psm;*.asm";

    // Registers every keyword spelling anew: each entry's all-upper then its
    // all-lower spelling, mnemonics first, then directives.
    void LoadKeywords();
};

} // namespace korvo
