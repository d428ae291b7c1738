#pragma once

#include "assembler/lexer.h"
#include "assembler/symbol_table.h"

#include <cstdint>
#include <string_view>

namespace korvo {

// An evaluated operand: its value and the kind of symbol it came from.
struct TOperand {
    std::int32_t Value = 0;
    TSymbolKind Kind = skNone;
    // The name as written when the operand is a register, condition or
    // interrupt option (for messages).
    std::string_view Name;
};

// Registers, conditions and interrupt options end an expression on their own
// and never take part in arithmetic.
constexpr bool IsRegisterLike(TSymbolKind kind) {
    return kind == skRegister || kind == skCondition || kind == skInterruptOption;
}

// Parentheses and unary operators may nest this deep.
inline constexpr int kMaxExpressionNesting = 64;

// Evaluates the expression that starts at the scanner's current token and
// leaves the scanner on the first token after it. Binary operators have no
// precedence and apply left to right; a unary operator applies to the whole
// rest of the expression. Arithmetic is 32-bit two's complement. Raises the
// parser's error on bad input.
TOperand EvaluateExpression(TSynHighLighterIDE& scanner, const TSymbolTable& symbols);

} // namespace korvo
