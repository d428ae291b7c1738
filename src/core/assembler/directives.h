#pragma once

#include "assembler/parser_state.h"

#include <string>
#include <string_view>

namespace korvo {

// Directive indexes, in the order of DirectiveNames.
enum TDirectiveIndex : int {
    diEQU,
    diORG,
    diDSROM,
    diDSRAM,
    diDSIN,
    diDSOUT,
    diDSIO,
    diDS,
    diBROM,
    diUART,
    diVHDL,
    diCOE,
    diINC,
    diSVF,
    diHEX,
    diMEM,
    diEXEC,
    diINCL,
    diMACRO,
    diEND,
    diDEFJUMP,
};

// Index of a directive word (all upper or all lower case); diEND when unknown.
TDirectiveIndex DirectiveIndexOf(std::string_view spelling);

// The handlers start on the first non-space token after the directive word;
// name is the identifier written before it, empty when none.

// Pass 1: only what the symbol table and the include list need.
void DirectivePass1(TLineContext& context, TDirectiveIndex directive, std::string_view name);

// Pass 2: everything; returns the line's result text. The caller checks that
// nothing but a comment follows.
std::string DirectivePass2(TLineContext& context, TDirectiveIndex directive, std::string_view name);
std::string PortDeclarationPass2(TLineContext& context, TDirectiveIndex directive,
                                 std::string_view name);
std::string OutputDirectivePass2(TLineContext& context, TDirectiveIndex directive);

// Directives whose operands are ignored altogether.
constexpr bool IsIgnoredDirective(TDirectiveIndex directive) {
    return directive == diINC || directive == diMACRO || directive == diEND;
}

// A checked ORG address; raises the ORG messages.
int CheckedOrgAddress(const TLineContext& context, std::int32_t value);

// Included files hold declarations only: raises the error for an
// instruction, a label or an ORG in one.
void RefuseInIncludedFile(const TLineContext& context);

} // namespace korvo
