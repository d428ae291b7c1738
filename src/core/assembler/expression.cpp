#include "assembler/expression.h"

#include "assembler/asm_error.h"
#include "assembler/value_readers.h"

#include <limits>

namespace korvo {

namespace {

bool IsBinaryOperator(TTokenKind kind) {
    switch (kind) {
    case tkStar:
    case tkSlash:
    case tkPlus:
    case tkMinus:
    case tkBar:
    case tkCaret:
    case tkAmpersand: return true;
    case tkComment:
    case tkDirective:
    case tkIdentifier:
    case tkOpcode:
    case tkNull:
    case tkNumber:
    case tkSpace:
    case tkString:
    case tkChar:
    case tkSymbol:
    case tkColon:
    case tkComma:
    case tkTilde:
    case tkOpen:
    case tkClose:
    case tkUnknown: return false;
    }
    return false;
}

[[noreturn]] void RegisterInExpression() {
    Fail("Syntax|Register not allowed in an expression");
}

std::int32_t Apply(TTokenKind op, std::int32_t left, std::int32_t right) {
    auto a = static_cast<std::uint32_t>(left);
    auto b = static_cast<std::uint32_t>(right);
    switch (op) {
    case tkStar: return static_cast<std::int32_t>(a * b);
    case tkPlus: return static_cast<std::int32_t>(a + b);
    case tkMinus: return static_cast<std::int32_t>(a - b);
    case tkBar: return static_cast<std::int32_t>(a | b);
    case tkCaret: return static_cast<std::int32_t>(a ^ b);
    case tkAmpersand: return static_cast<std::int32_t>(a & b);
    case tkSlash:
        if (right == 0) Fail("Divide|Division by zero");
        if (left == std::numeric_limits<std::int32_t>::min() && right == -1)
            Fail("Divide|Division overflow");
        return left / right;
    // Only the operators above are ever pending.
    case tkComment:
    case tkDirective:
    case tkIdentifier:
    case tkOpcode:
    case tkNull:
    case tkNumber:
    case tkSpace:
    case tkString:
    case tkChar:
    case tkSymbol:
    case tkColon:
    case tkComma:
    case tkTilde:
    case tkOpen:
    case tkClose:
    case tkUnknown: return left;
    }
    return left;
}

class TEvaluator {
public:
    TEvaluator(TSynHighLighterIDE& scanner, const TSymbolTable& symbols)
        : scanner_(scanner), symbols_(symbols) {}

    TOperand Evaluate(int depth) {
        if (depth > kMaxExpressionNesting) Fail("Syntax|Expression nested too deeply");
        TOperand result;
        TTokenKind pending = tkNull;
        for (;;) {
            TOperand operand;
            bool moveOn = true;
            switch (scanner_.GetTokenKind()) {
            case tkIdentifier: {
                auto found = symbols_.Find(scanner_.GetToken());
                if (!found) Fail("Undefined|An undefined identifier found.");
                TSymbolKind kind = SymbolKindOf(*found);
                if (kind == skMnemonic || kind == skDirective)
                    Fail("Opcode|Opcodes can not be used as an symbol");
                operand = {SymbolValueOf(*found), kind, {}};
                if (IsRegisterLike(kind)) {
                    // Such a name is a whole expression on its own.
                    if (pending != tkNull) RegisterInExpression();
                    operand.Name = scanner_.GetToken();
                    scanner_.NextNonSpace();
                    return operand;
                }
                break;
            }
            case tkNumber:
                operand = {NumberTokenValue(tkNumber, scanner_.GetToken()), skNumber, {}};
                break;
            case tkChar:
                operand = {CharTokenValue(tkChar, scanner_.GetToken()), skNumber, {}};
                break;
            case tkPlus:
            case tkMinus:
            case tkTilde: {
                TTokenKind unary = scanner_.GetTokenKind();
                scanner_.NextNonSpace();
                operand = Evaluate(depth + 1);
                if (IsRegisterLike(operand.Kind)) RegisterInExpression();
                auto bits = static_cast<std::uint32_t>(operand.Value);
                if (unary == tkMinus) operand.Value = static_cast<std::int32_t>(0u - bits);
                if (unary == tkTilde) operand.Value = static_cast<std::int32_t>(~bits);
                moveOn = false; // the token that ended the inner expression stays
                break;
            }
            case tkOpen:
                scanner_.NextNonSpace();
                operand = Evaluate(depth + 1);
                if (scanner_.GetTokenKind() != tkClose)
                    Fail("Closing|Expected a closing parentesis.");
                break;
            case tkColon: Fail("Label|Label definition is illegal here.");
            case tkComment:
            case tkDirective:
            case tkOpcode:
            case tkNull:
            case tkSpace:
            case tkString:
            case tkSymbol:
            case tkComma:
            case tkStar:
            case tkSlash:
            case tkBar:
            case tkCaret:
            case tkAmpersand:
            case tkClose:
            case tkUnknown: Fail("Syntax|Syntax error in experession");
            }

            if (pending == tkNull) {
                result = operand;
            } else {
                if (IsRegisterLike(result.Kind) || IsRegisterLike(operand.Kind))
                    RegisterInExpression();
                result = {Apply(pending, result.Value, operand.Value), skExpression, {}};
            }
            if (moveOn) scanner_.NextNonSpace();

            TTokenKind next = scanner_.GetTokenKind();
            if (IsBinaryOperator(next)) {
                pending = next;
                scanner_.NextNonSpace();
                continue;
            }
            if (next == tkIdentifier || next == tkNumber || next == tkColon)
                Fail("Syntax|Syntax error in expression");
            return result;
        }
    }

private:
    TSynHighLighterIDE& scanner_;
    const TSymbolTable& symbols_;
};

} // namespace

TOperand EvaluateExpression(TSynHighLighterIDE& scanner, const TSymbolTable& symbols) {
    if (scanner.GetTokenKind() == tkSpace) scanner.NextNonSpace();
    return TEvaluator(scanner, symbols).Evaluate(0);
}

} // namespace korvo
