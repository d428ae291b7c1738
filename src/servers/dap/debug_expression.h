#pragma once

#include "assembler/source_symbols.h"
#include "assembler/symbol_table.h"
#include "assembler/syn_picoblaze.h"
#include "common/core_kind.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {
class TPicoBlazeSimulator;
}

namespace korvo::servers {

// An expression the debugger cannot evaluate; what() says why.
class EDebugExpression : public std::runtime_error {
public:
    explicit EDebugExpression(const std::string& message) : std::runtime_error(message) {}
};

// The names of a launched program, for the expressions of the debugger: the
// register names of its core and what its source defines (labels,
// constants, ports, register names).
class TDebugNames {
public:
    TDebugNames(TCoreKind core, std::vector<TSourceSymbol> symbols);
    const std::vector<TSourceSymbol>& Symbols() const { return symbols_; }
    // The name the source gives a register; empty when none.
    std::string RegisterAlias(int registerNumber) const;
    // The label at or closest before a code address; empty when none.
    std::string LabelBefore(int address) const;

    // An expression of the assembler's dialect ("count", "$10 + 2",
    // "table + 3"), a register alone ("s3", or its name), or two of them
    // compared with ==, !=, <, <=, > or >= (1 when true, else 0). A
    // register stands for its value in the active bank.
    std::int32_t Evaluate(std::string_view text, const TPicoBlazeSimulator& simulator) const;
    // The register an expression names alone ("s3", its name); -1 for
    // anything else.
    int RegisterNamed(std::string_view text) const;

private:
    struct TOperandValue {
        std::int32_t Value;
        bool Register;
    };
    TOperandValue Operand(std::string_view text) const;

    std::vector<TSourceSymbol> symbols_;
    TSymbolTable table_;
    // The scanner the expressions are read with.
    std::unique_ptr<TSynPicoBlaze> scanner_;
};

} // namespace korvo::servers
