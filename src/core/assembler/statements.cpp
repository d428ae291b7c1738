#include "assembler/statements.h"

#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/instruction_encoder.h"
#include "assembler/operands.h"

namespace korvo {

namespace {

void DefineLabel(TLineContext& context, std::string_view name) {
    RefuseInIncludedFile(context);
    auto& symbols = context.State.Symbols;
    if (symbols.Contains(name)) Fail("Label|Duplicate label; label already defined elsewhere");
    symbols.Add(name, PackSymbolValue(context.State.Address, skLabel));
}

void CheckLabel(TLineContext& context, std::string_view name) {
    RefuseInIncludedFile(context);
    auto symbol = context.State.Symbols.Find(name);
    if (!symbol) Fail("Label|Label not found");
    if (SymbolKindOf(*symbol) != skLabel) Fail("Label|Label expected, but other identifier found.");
    if (SymbolValueOf(*symbol) != SymbolValueOf(PackSymbolValue(context.State.Address, skLabel)))
        Fail("Phasing|Phasing Error:Mismatch between label values in 1st and 2nd Pass.");
}

const TDirective& CurrentDirective(TLineContext& context) {
    const TDirective& directive = DirectiveOf(context.Scanner.GetToken());
    context.Scanner.NextNonSpace();
    return directive;
}

// A line that pass 2 rejects before its statement must still move the code
// address as pass 1 did, so that later labels keep their values: pass 1 goes
// on scanning past stray tokens to an instruction (one word) or an ORG.
[[noreturn]] void FailAsPass1Counted(TLineContext& context, const char* message) {
    auto& scanner = context.Scanner;
    auto& state = context.State;
    scanner.SetLine(scanner.GetLine(), scanner.GetLineNumber());
    try {
        for (bool scanning = true; scanning;) {
            switch (scanner.GetTokenKind()) {
            case tkIdentifier:
            case tkColon:
            case tkSpace: scanner.Next(); break;
            case tkOpcode:
                state.NextAddress = state.Address + 1;
                scanning = false;
                break;
            case tkDirective:
                if (CurrentDirective(context).Pass1 == OrgPass1)
                    state.NextAddress = CheckedOrgAddress(context, Evaluate(context).Value);
                scanning = false;
                break;
            case tkComment:
            case tkNull: scanning = false; break;
            case tkNumber:
            case tkString:
            case tkChar:
            case tkSymbol:
            case tkComma:
            case tkStar:
            case tkSlash:
            case tkPlus:
            case tkMinus:
            case tkBar:
            case tkCaret:
            case tkAmpersand:
            case tkTilde:
            case tkOpen:
            case tkClose:
            case tkUnknown: scanner.Next(); break;
            }
        }
    } catch (const EAsmError&) {
        // pass 1 accepted this line, so its ORG evaluates; nothing to add
    }
    Fail(message);
}

void RunDirectivePass1(TLineContext& context, std::string_view name) {
    const TDirective& directive = CurrentDirective(context);
    if (directive.Pass1) directive.Pass1(context, name);
}

std::string RunDirectivePass2(TLineContext& context, std::string_view name) {
    const TDirective& directive = CurrentDirective(context);
    if (!directive.Pass2) return {};
    std::string text = directive.Pass2(context, name);
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
                RunDirectivePass1(context, name);
                return " ";
            } else if (scanner.GetTokenKind() == tkIdentifier) {
                Fail("Syntax|Identifier not expected here");
            }
            // anything else: pass 2 reports the line
            break;
        }
        case tkDirective: RunDirectivePass1(context, {}); return " ";
        case tkOpcode:
            RefuseInIncludedFile(context);
            context.State.NextAddress = context.State.Address + 1;
            return " ";
        case tkComment:
        case tkNull: return " ";
        case tkNumber:
        case tkSpace:
        case tkString:
        case tkChar:
        case tkSymbol:
        case tkColon:
        case tkComma:
        case tkStar:
        case tkSlash:
        case tkPlus:
        case tkMinus:
        case tkBar:
        case tkCaret:
        case tkAmpersand:
        case tkTilde:
        case tkOpen:
        case tkClose:
        case tkUnknown: scanner.Next(); break;
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
            FailAsPass1Counted(context, "Colon|Label without colon or an unknown opcode.");
        }
        case tkDirective: return RunDirectivePass2(context, {});
        case tkOpcode: RefuseInIncludedFile(context); return EncodeInstruction(context);
        case tkComment:
        case tkNull: return {};
        case tkNumber:
        case tkSpace:
        case tkString:
        case tkChar:
        case tkSymbol:
        case tkColon:
        case tkComma:
        case tkStar:
        case tkSlash:
        case tkPlus:
        case tkMinus:
        case tkBar:
        case tkCaret:
        case tkAmpersand:
        case tkTilde:
        case tkOpen:
        case tkClose:
        case tkUnknown: FailAsPass1Counted(context, "Syntax|Unexpected final character");
        }
    }
}

} // namespace korvo
