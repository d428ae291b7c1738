#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/operands.h"
#include "assembler/value_readers.h"
#include "common/assembly_sink.h"
#include "common/text_file.h"

#include <algorithm>

namespace korvo {

const TDirective& DirectiveOf(std::string_view spelling) {
    static constexpr TDirective kUnknown{};
    for (const TDirective& directive : kDirectives)
        if (SameTextIgnoringCase(directive.Keyword, spelling)) return directive;
    return kUnknown;
}

int CheckedOrgAddress(const TLineContext& context, std::int32_t value) {
    if (value < 0) Fail("Address|Negative address");
    int codeSize = context.Sink.CodeSize();
    if (value >= codeSize) Fail(" > $" + HexText(codeSize - 1, 3));
    return value;
}

void RefuseInIncludedFile(const TLineContext& context) {
    if (context.State.IncludeDepth > 0)
        Fail("Include|An included file holds declarations only; instructions, labels and ORG "
             "are not allowed in it");
}

void EquatePass1(TLineContext& context, std::string_view name) {
    if (name.empty()) Fail("Equate");
    TOperand value = Evaluate(context);
    auto& state = context.State;
    std::string* registerName = nullptr;
    if (value.Kind == skRegister) {
        registerName =
            &state
                 .RegisterNames[static_cast<std::size_t>(value.Value) % state.RegisterNames.size()];
        if (!registerName->empty()) Fail("Reg Name|Register name already used elsewhere");
    }
    state.Symbols.Add(name, PackSymbolValue(value.Value, value.Kind));
    if (registerName) *registerName = std::string(name);
}

// The files are read by the driver once the line is done, so that their
// declarations take effect at this line.
void IncludePass1(TLineContext& context, std::string_view) {
    auto& state = context.State;
    auto& files = state.Directives.IncludeFiles;
    do {
        std::string path = FileInSourceDirectory(
            state, ReadString(context, "Syntax|Strings expected for flenames"));
        if (!PathExists(path)) {
            state.ErrorSubject = path;
            Fail("Not found|Include file not found");
        }
        if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
        state.PendingIncludes.push_back(std::move(path));
    } while (SkipComma(context));
}

void OrgPass1(TLineContext& context, std::string_view) {
    RefuseInIncludedFile(context);
    context.State.NextAddress = CheckedOrgAddress(context, Evaluate(context).Value);
}

void DeviceNamePass1(TLineContext& context, std::string_view name) {
    if (!name.empty())
        context.State.Symbols.Add(name, PackSymbolValue(Evaluate(context).Value, skDevice));
}

} // namespace korvo
