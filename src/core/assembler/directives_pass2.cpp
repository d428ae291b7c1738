#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/operands.h"
#include "assembler/value_readers.h"
#include "common/assembly_sink.h"

namespace korvo {

std::string EquatePass2(TLineContext& context, std::string_view name) {
    if (name.empty()) Fail("Equate|No identifier supplied");
    TOperand value = Evaluate(context);
    auto stored = context.State.Symbols.Find(name);
    if (!stored) Fail("Phasing|Identifier has different values for the 1st and 2nd pass.");
    // The table holds 18 bits, so the new value is compared in 18 bits too.
    if (SymbolValueOf(*stored) != SymbolValueOf(PackSymbolValue(value.Value, value.Kind)))
        Fail("Double|Doubly defined identifier.");
    if (SymbolKindOf(*stored) != value.Kind) Fail("Double|Differently defined identifier.");
    if (value.Kind == skRegister)
        return "s" + HexText(value.Value, context.State.Core->Core().RegisterDigits);
    return "$" + HexText(SymbolValueOf(*stored), 2);
}

std::string OrgPass2(TLineContext& context, std::string_view) {
    RefuseInIncludedFile(context);
    TOperand address = Evaluate(context);
    // Pass 1 moved the address whatever the kind; so does pass 2.
    context.State.NextAddress = CheckedOrgAddress(context, address.Value);
    if (address.Kind == skRegister || address.Kind == skCondition)
        Fail("Address|Illegal expression for an address.");
    return "$" + HexText(address.Value, context.State.Core->Core().AddressDigits());
}

std::string DefaultJumpPass2(TLineContext& context, std::string_view) {
    auto& directives = context.State.Directives;
    if (directives.DefaultJump) Fail("Not allowed|Multiple default jumps are not allowed");
    TOperand address = Evaluate(context);
    if (IsRegisterLike(address.Kind)) Fail("Address|Illegal expression for an address.");
    if (address.Value < 0 || address.Value >= context.Sink.CodeSize())
        Fail("Too Far|Jump can not go that far");
    directives.DefaultJump = address.Value;
    directives.DefaultJumpLine = context.LineIndex + 1;
    return "$" + HexText(address.Value, context.State.Core->Core().AddressDigits());
}

} // namespace korvo
