#include "dap/debug_expression.h"

#include "assembler/asm_error.h"
#include "assembler/expression.h"
#include "common/hex_text.h"
#include "simulator/picoblaze_simulator.h"

#include <array>
#include <utility>

namespace korvo::servers {

namespace {

// The readable part of a parser message ("Undefined|An undefined ...").
std::string MessageText(const std::string& message) {
    auto bar = message.find('|');
    return bar == std::string::npos ? message : message.substr(bar + 1);
}

struct TComparison {
    std::size_t Position = std::string_view::npos;
    std::string_view Operator;
};

// The first comparison operator outside character literals.
TComparison FindComparison(std::string_view text) {
    static constexpr std::array<std::string_view, 7> kOperators{
        "==", "!=", "<=", ">=", "<", ">", "="};
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'') quoted = !quoted;
        if (quoted) continue;
        for (auto op : kOperators)
            if (text.substr(i, op.size()) == op) return {i, op};
    }
    return {};
}

bool Compare(std::string_view op, std::int32_t a, std::int32_t b) {
    if (op == "==" || op == "=") return a == b;
    if (op == "!=") return a != b;
    if (op == "<=") return a <= b;
    if (op == ">=") return a >= b;
    if (op == "<") return a < b;
    return a > b;
}

} // namespace

TDebugNames::TDebugNames(TCoreKind core, std::vector<TSourceSymbol> symbols)
    : symbols_(std::move(symbols)), scanner_(std::make_unique<TSynPicoBlaze>()) {
    const TCoreDescription& description = CoreDescription(core);
    for (int number = 0; number < description.RegisterNameCount; ++number)
        table_.Add("S" + HexText(number, description.RegisterDigits),
                   PackSymbolValue(number, skRegister));
    for (const auto& symbol : symbols_)
        if (!table_.Contains(symbol.Name))
            table_.Add(symbol.Name, PackSymbolValue(symbol.Value, symbol.Kind));
}

std::string TDebugNames::RegisterAlias(int registerNumber) const {
    for (const auto& symbol : symbols_)
        if (symbol.Kind == skRegister && symbol.Value == registerNumber) return symbol.Name;
    return {};
}

std::string TDebugNames::LabelBefore(int address) const {
    const TSourceSymbol* best = nullptr;
    for (const auto& symbol : symbols_)
        if (symbol.Kind == skLabel && symbol.Value <= address &&
            (!best || symbol.Value > best->Value))
            best = &symbol;
    return best ? best->Name : std::string();
}

TDebugNames::TOperandValue TDebugNames::Operand(std::string_view text) const {
    std::string line(text);
    TSynPicoBlaze& scanner = *scanner_;
    TOperand operand;
    try {
        scanner.SetLine(line, 1);
        operand = EvaluateExpression(scanner, table_);
        if (scanner.GetTokenKind() == tkSpace) scanner.NextNonSpace();
        if (!scanner.GetEol()) Fail("Syntax|Syntax error in expression");
    } catch (const EAsmError& error) {
        scanner.SetLine({}, 0);
        throw EDebugExpression(MessageText(error.what()));
    }
    scanner.SetLine({}, 0);
    if (operand.Kind == skCondition || operand.Kind == skInterruptOption)
        throw EDebugExpression("'" + line + "' is no value");
    return {operand.Value, operand.Kind == skRegister};
}

int TDebugNames::RegisterNamed(std::string_view text) const {
    if (FindComparison(text).Position != std::string_view::npos) return -1;
    try {
        auto operand = Operand(text);
        return operand.Register ? operand.Value : -1;
    } catch (const EDebugExpression&) {
        return -1;
    }
}

std::int32_t TDebugNames::Evaluate(std::string_view text,
                                   const TPicoBlazeSimulator& simulator) const {
    auto value = [&](std::string_view part) {
        auto operand = Operand(part);
        return operand.Register ? simulator.Register(operand.Value) : operand.Value;
    };
    TComparison comparison = FindComparison(text);
    if (comparison.Position == std::string_view::npos) return value(text);
    std::int32_t left = value(text.substr(0, comparison.Position));
    std::int32_t right = value(text.substr(comparison.Position + comparison.Operator.size()));
    return Compare(comparison.Operator, left, right) ? 1 : 0;
}

} // namespace korvo::servers
