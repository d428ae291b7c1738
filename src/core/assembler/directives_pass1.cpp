#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/keywords.h"
#include "assembler/operands.h"
#include "assembler/value_readers.h"
#include "common/assembly_sink.h"
#include "common/text_file.h"

#include <algorithm>

namespace korvo {

TDirectiveIndex DirectiveIndexOf(std::string_view spelling) {
    for (int i = 0; i < static_cast<int>(DirectiveNames.size()); ++i)
        if (SameTextIgnoringCase(KeywordSpelling(DirectiveNames[i]), spelling))
            return static_cast<TDirectiveIndex>(i);
    return diEND;
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

namespace {

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
void IncludePass1(TLineContext& context) {
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

} // namespace

void DirectivePass1(TLineContext& context, TDirectiveIndex directive, std::string_view name) {
    switch (directive) {
    case diEQU: EquatePass1(context, name); return;
    case diORG:
        RefuseInIncludedFile(context);
        context.State.NextAddress = CheckedOrgAddress(context, Evaluate(context).Value);
        return;
    case diDSROM:
    case diDSRAM:
    case diDSIN:
    case diDSOUT:
    case diDSIO:
    case diDS:
    case diBROM:
    case diUART:
        if (!name.empty())
            context.State.Symbols.Add(name, PackSymbolValue(Evaluate(context).Value, skDevice));
        return;
    case diINCL: IncludePass1(context); return;
    case diVHDL:
    case diCOE:
    case diINC:
    case diSVF:
    case diHEX:
    case diMEM:
    case diEXEC:
    case diMACRO:
    case diEND:
    // Its address may be a label further down: pass 2 reads it.
    case diDEFJUMP: return;
    }
}

} // namespace korvo
