#include "assembler/asm_error.h"
#include "assembler/directives.h"
#include "assembler/operands.h"
#include "common/text_file.h"

namespace korvo {

namespace {

constexpr const char* kMultipleConfigFiles = "Not allowed|Multiple config files are not allowed";

// MEM, HEX and SVF: one file name each, named once.
void SingleFile(TLineContext& context, std::string& target, const char* alreadySet,
                const char* notAString) {
    if (!target.empty()) Fail(alreadySet);
    target = FileInSourceDirectory(context.State, ReadString(context, notAString));
}

} // namespace

std::string VhdlPass2(TLineContext& context, std::string_view) {
    auto& state = context.State.Directives;
    if (!state.VhdlSkeleton.empty()) Fail(kMultipleConfigFiles);
    state.VhdlSkeleton = FileInSourceDirectory(
        context.State,
        ReadString(context, "Syntax|Syntax error: String expected for VHDL skeleton filename"));
    if (!PathExists(state.VhdlSkeleton)) {
        context.State.ErrorSubject = state.VhdlSkeleton;
        Fail("Not found|Skeleton file not found");
    }
    ExpectComma(context);
    state.VhdlTarget = FileInSourceDirectory(
        context.State,
        ReadString(context, "Syntax|Syntax error: String expected for VHDL target filename"));
    if (SkipComma(context))
        state.VhdlEntity =
            ReadString(context, "Syntax|Syntax error: String expected for VHDL Entity name");
    else
        state.VhdlEntity = BaseNameWithoutExtension(state.VhdlTarget);
    return {};
}

std::string CoePass2(TLineContext& context, std::string_view) {
    auto& state = context.State.Directives;
    if (!state.CoeFileName.empty()) Fail("Not Allowed|Multiple config files are not allowed");
    std::string file = ReadString(context, "Syntax|String expected for the COE filename");
    const TCoreDescription& core = context.State.Core->Core();
    int width = core.CoeDefaultWidth;
    if (SkipComma(context)) {
        // The width only means something where the core lets it be chosen;
        // elsewhere it is read and left alone, so that one source serves
        // every core.
        TOperand given = Evaluate(context);
        if (core.CoeWidthSelectable) {
            if (given.Value != 8 && given.Value != 16)
                Fail("Width|Illegal width specifier encountered");
            width = given.Value;
        }
    }
    state.CoeWidth = width;
    state.CoeFileName = FileInSourceDirectory(context.State, file);
    return {};
}

std::string ExecPass2(TLineContext& context, std::string_view) {
    auto& state = context.State.Directives;
    if (!state.ExecCommand.empty()) Fail("Not allowed|Multiple executes are not allowed");
    state.ExecCommand = ReadString(context, "Syntax|String expected for the command line");
    return {};
}

// As in pass 1, the driver reads the files once the line is done.
std::string IncludePass2(TLineContext& context, std::string_view) {
    do {
        context.State.PendingIncludes.push_back(FileInSourceDirectory(
            context.State, ReadString(context, "Syntax|Strings expected for include files")));
    } while (SkipComma(context));
    return {};
}

std::string SvfPass2(TLineContext& context, std::string_view) {
    SingleFile(context, context.State.Directives.SvfFileName, "Not allowed",
               "Syntax|Syntax error: String expected for SVF filename");
    return {};
}

std::string HexPass2(TLineContext& context, std::string_view) {
    SingleFile(context, context.State.Directives.HexFileName, kMultipleConfigFiles,
               "Syntax|Syntax error: String expected for HEX filename");
    return {};
}

std::string MemPass2(TLineContext& context, std::string_view) {
    SingleFile(context, context.State.Directives.MemFileName, kMultipleConfigFiles,
               "Syntax|Syntax error: String expected for MEM filename");
    return {};
}

} // namespace korvo
