#include "analysis/check_context.h"

#include "common/hex_text.h"
#include "common/text_file.h"

#include <map>

namespace korvo {

void CheckAccesses(TCheckContext& context) {
    const TProgramFlow& flow = context.Flow;
    const TMemMap& ports = context.Image.Ports();
    const bool scratchPad = CoreDescription(context.Request.Core).HasScratchPad;
    const int size = context.Request.ScratchPadSize;
    for (int address = 0; address < flow.CodeSize(); ++address) {
        const TDecoded& d = flow.At(address).Decoded;
        const int line = context.LineOf(address);
        if (scratchPad && (d.Op == TOp::FetchK || d.Op == TOp::StoreK) && d.K >= size)
            context.Report(TCheckSeverity::Error, line,
                           "scratch pad address $" + HexText(d.K, 2) + " is beyond the " +
                               std::to_string(size) + " bytes of the scratch pad");
        if (d.Op == TOp::InK && ports[d.K].Kind == TMemKind::Output)
            context.Report(TCheckSeverity::Warning, line,
                           "reads port " + context.PortName(d.K) +
                               ", which is declared as an output only");
        if (d.Op == TOp::OutK && ports[d.K].Kind == TMemKind::Input)
            context.Report(TCheckSeverity::Warning, line,
                           "writes port " + context.PortName(d.K) +
                               ", which is declared as an input only");
    }
}

void CheckReachability(TCheckContext& context) {
    const TProgramFlow& flow = context.Flow;
    const TDirectiveState& directives = context.Parser.Directives();
    std::vector<bool> reached(static_cast<std::size_t>(flow.CodeSize()));
    std::vector<int> roots{0, context.Request.Options.InterruptVector};
    if (directives.DefaultJump) roots.push_back(*directives.DefaultJump);
    for (int root : roots) {
        if (root < 0 || root >= flow.CodeSize()) continue;
        for (int key : ReachableStates(flow, {root, false, 0}))
            reached[static_cast<std::size_t>(TFlowState::OfKey(key).Address)] = true;
    }
    bool targetsUnknown = false;
    for (int address = 0; address < flow.CodeSize(); ++address) {
        if (!reached[static_cast<std::size_t>(address)] || !flow.IsComputedWithoutTargets(address))
            continue;
        targetsUnknown = true;
        context.Report(TCheckSeverity::Warning, context.LineOf(address),
                       "where this computed branch goes is not known: name its targets in a "
                       "comment, ;@targets label, label+1, ...");
    }
    // What such a branch reaches is unknown, so nothing is known unreached.
    if (targetsUnknown) return;
    // Runs of code nothing reaches, one finding each; the words DEFJUMP
    // fills are not code of the program.
    for (int address = 0; address < flow.CodeSize(); ++address) {
        auto unreached = [&](int at) {
            const auto& instruction = flow.At(at);
            return instruction.HasCode && !reached[static_cast<std::size_t>(at)] &&
                   !(directives.DefaultJump && instruction.Line == directives.DefaultJumpLine);
        };
        if (!unreached(address)) continue;
        const int first = address;
        while (address + 1 < flow.CodeSize() && unreached(address + 1))
            ++address;
        const int firstLine = context.LineOf(first);
        const int lastLine = context.LineOf(address);
        context.Report(TCheckSeverity::Warning, firstLine,
                       firstLine == lastLine
                           ? std::string("unreachable code: nothing jumps or calls here")
                           : "unreachable code: nothing jumps or calls here (lines " +
                                 std::to_string(firstLine) + " to " + std::to_string(lastLine) +
                                 ")");
    }
}

void CheckUnusedNames(TCheckContext& context) {
    // How often each name stands in the source and its included files.
    std::map<std::string, int> uses;
    TSynPicoBlaze scanner;
    auto count = [&](const std::vector<std::string>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            scanner.SetLine(lines[i], static_cast<int>(i));
            for (; !scanner.GetEol(); scanner.Next())
                if (scanner.GetTokenKind() == tkIdentifier) ++uses[UpperCase(scanner.GetToken())];
        }
    };
    count(context.Request.Lines);
    for (const std::string& file : context.Parser.Directives().IncludeFiles) {
        try {
            count(ReadTextLines(file));
        } catch (const EFileError&) {
            // Assembled a moment ago; a file gone since has nothing to count.
        }
    }
    // A label a ;@targets comment names is where a computed branch goes.
    for (const auto& [line, annotation] : context.Annotations)
        for (const std::string& target : annotation.Targets)
            uses[UpperCase(target.substr(0, target.find('+')))] += 2;
    const int vector = context.Request.Options.InterruptVector;
    for (const TSourceSymbol& symbol : context.Symbols) {
        if (symbol.FileName != context.Request.FileName || uses[UpperCase(symbol.Name)] > 1)
            continue;
        std::string what = "constant ";
        if (symbol.Kind == skLabel) {
            // The hardware enters these.
            if (symbol.Value == 0 || symbol.Value == vector) continue;
            what = "label ";
        } else if (symbol.Kind == skRegister) {
            what = "register name ";
        } else if (symbol.Kind == skDevice) {
            // Memories and UARTs are reached through computed port numbers.
            const TMemKind kind = context.Image.Ports()[symbol.Value & 0xFF].Kind;
            if (kind != TMemKind::Input && kind != TMemKind::Output && kind != TMemKind::IO &&
                kind != TMemKind::InOut)
                continue;
            what = "port ";
        }
        context.Report(TCheckSeverity::Warning, symbol.Line, what + symbol.Name + " is never used");
    }
}

} // namespace korvo
