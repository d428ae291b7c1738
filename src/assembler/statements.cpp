#include "assembler/statements.h"

#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/instruction_encoder.h"
#include "assembler/operands.h"

namespace korvo {

namespace {

void DefineLabel(TLineContext& context, std::string_view name) {
    auto& symbols = context.State.Symbols;
    if (symbols.Contains(name)) Fail("Label|Duplicate label; label already defined elsewhere");
    symbols.Add(name, PackSymbolValue(context.State.Address, skLabel));
}

void CheckLabel(TLineContext& context, std::string_view name) {
    auto symbol = context.State.Symbols.Find(name);
    if (!symbol) Fail("Label|Label not found");
    if (SymbolKindOf(*symbol) != skLabel) Fail("Label|Label expected, but other identifier found.");
    if (SymbolValueOf(*symbol) != SymbolValueOf(PackSymbolValue(context.State.Address, skLabel)))
        Fail("Phasing|Phasing Error:Mismatch between label values in 1st and 2nd Pass.");
}

TDirectiveIndex CurrentDirective(TLineContext& context) {
    TDirectiveIndex directive = DirectiveIndexOf(context.Scanner.GetToken());
    context.Scanner.NextNonSpace();
    return directive;
}

std::string RunDirectivePass2(TLineContext& context, std::string_view name) {
    TDirectiveIndex directive = CurrentDirective(context);
    if (IsIgnoredDirective(directive)) return {};
    std::string text = DirectivePass2(context, directive, name);
    ExpectEndOfStatement(context);
    return text;
}

} // namespace

std::string ParseStatementPass1(TLineContext& context) {
    auto& scanner = context.Scanner;
    for (;;) {
        switch (scanner.GetTokenKind()) {
        case tkIdentifier: {
            std::string_view name = scanner.GetToken();
            scanner.NextNonSpace();
            if (scanner.GetTokenKind() == tkColon) {
                DefineLabel(context, name);
                scanner.NextNonSpace();
            } else if (scanner.GetTokenKind() == tkDirective) {
                DirectivePass1(context, CurrentDirective(context), name);
                return " ";
            } else if (scanner.GetTokenKind() == tkIdentifier) {
                Fail("Syntax|Identifier not expected here");
            }
            // anything else: pass 2 reports the line
            break;
        }
        case tkDirective: DirectivePass1(context, CurrentDirective(context), {}); return " ";
        case tkOpcode: context.State.NextAddress = context.State.Address + 1; return " ";
        case tkComment:
        case tkNull: return " ";
        default: scanner.Next(); break;
        }
    }
}

std::string ParseStatementPass2(TLineContext& context) {
    auto& scanner = context.Scanner;
    if (scanner.GetTokenKind() == tkSpace) scanner.NextNonSpace();
    for (;;) {
        switch (scanner.GetTokenKind()) {
        case tkIdentifier: {
            std::string_view name = scanner.GetToken();
            scanner.NextNonSpace();
            if (scanner.GetTokenKind() == tkColon) {
                CheckLabel(context, name);
                scanner.NextNonSpace();
                break;
            }
            if (scanner.GetTokenKind() == tkDirective) return RunDirectivePass2(context, name);
            Fail("Colon|Label without colon or an unknown opcode.");
        }
        case tkDirective: return RunDirectivePass2(context, {});
        case tkOpcode: return EncodeInstruction(context);
        default: ExpectEndOfStatement(context); return {};
        }
    }
}

} // namespace korvo
