#include "assembler/operands.h"

#include "assembler/asm_error.h"
#include "assembler/value_readers.h"
#include "common/text_file.h"

namespace korvo {

TOperand Evaluate(TLineContext& context) {
    return EvaluateExpression(context.Scanner, context.State.Symbols);
}

void ExpectComma(TLineContext& context) {
    if (!SkipComma(context)) Fail("Comma|Comma expected here");
}

bool SkipComma(TLineContext& context) {
    if (context.Scanner.GetTokenKind() == tkSpace) context.Scanner.NextNonSpace();
    if (context.Scanner.GetTokenKind() != tkComma) return false;
    context.Scanner.NextNonSpace();
    return true;
}

std::string ReadString(TLineContext& context, const char* message) {
    if (context.Scanner.GetTokenKind() != tkString) Fail(message);
    std::string text = UnquotedString(context.Scanner.GetToken());
    context.Scanner.NextNonSpace();
    return text;
}

void ExpectEndOfStatement(TLineContext& context) {
    if (context.Scanner.GetTokenKind() == tkSpace) context.Scanner.NextNonSpace();
    TTokenKind kind = context.Scanner.GetTokenKind();
    if (kind != tkComment && kind != tkNull) Fail("Syntax|Unexpected final character");
}

void CheckRegisterRange(const TLineContext& context, int number, std::string_view name) {
    if (number >= context.State.Core->Core().RegisterCount)
        Fail(std::string(context.State.Core->RegisterRangeMessage) + std::string(name));
}

int ReadRegister(TLineContext& context) {
    auto& scanner = context.Scanner;
    std::string_view name = scanner.GetToken();
    std::optional<TSymbolValue> symbol;
    if (scanner.GetTokenKind() == tkIdentifier) symbol = context.State.Symbols.Find(name);
    if (!symbol || SymbolKindOf(*symbol) != skRegister)
        Fail("Register|" + std::string(name) + " is not a register");
    int number = SymbolValueOf(*symbol);
    CheckRegisterRange(context, number, name);
    scanner.NextNonSpace();
    return number;
}

void RewindTo(TSynHighLighterIDE& scanner, int position) {
    scanner.SetLine(scanner.GetLine(), scanner.GetLineNumber());
    while (scanner.GetTokenPos() < position && !scanner.GetEol())
        scanner.Next();
}

std::string FileInSourceDirectory(const TParserState& state, const std::string& name) {
    if (name.empty() || IsAbsoluteFileName(name)) return name;
    return state.Directives.SourceDirectory + name;
}

} // namespace korvo
