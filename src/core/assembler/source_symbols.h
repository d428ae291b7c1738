#pragma once

#include "assembler/symbol_table.h"
#include "common/core_kind.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// A name a source defines: where, and what it stands for.
struct TSourceSymbol {
    std::string Name;     // as written
    std::string FileName; // the source, or the included file that defines it
    int Line = 0;         // from 1
    // skLabel: a code address; skRegister: a register number; skDevice: a
    // port; anything else: a constant.
    TSymbolKind Kind = skNone;
    std::int32_t Value = 0;
};

// The labels, equates and port names of a source and of the files it
// includes, as pass 1 of the assembler defines them for the core. It runs on
// a parser and code image of its own, so nothing else changes; a source with
// errors keeps the names defined around them. Included files that cannot be
// read are left out.
std::vector<TSourceSymbol> CollectSourceSymbols(TCoreKind core, const std::string& fileName,
                                                const std::vector<std::string>& lines);

// The symbol of a name, without regard to letter case; null when none.
const TSourceSymbol* FindSourceSymbol(const std::vector<TSourceSymbol>& symbols,
                                      std::string_view name);

// What a symbol is, in words: "label, address $012", "register s3",
// "port $01", "constant $0A (10)".
std::string DescribeSourceSymbol(const TSourceSymbol& symbol, TCoreKind core);

} // namespace korvo
