#include "analysis/program_check.h"

#include "analysis/check_annotations.h"
#include "analysis/check_context.h"
#include "assembler/driver.h"
#include "common/hex_text.h"

#include <algorithm>

namespace korvo {

namespace {

// The addresses each computed JUMP or CALL reaches, from the ;@targets of
// its line; an unknown label is reported.
std::map<int, std::vector<int>> ComputedTargets(const TCheckRequest& request,
                                                const TAssemblyImage& image,
                                                const std::vector<TSourceSymbol>& symbols,
                                                const std::map<int, TCheckAnnotation>& annotations,
                                                TCheckResult& result) {
    std::map<int, std::vector<int>> targets;
    for (int address = 0; address < image.CodeSize(); ++address) {
        const TCodeEntry entry = image.Entry(address);
        if (!entry.HasCode) continue;
        auto annotation = annotations.find(entry.Line);
        if (annotation == annotations.end() || annotation->second.Targets.empty()) continue;
        std::vector<int>& reached = targets[address];
        for (const std::string& target : annotation->second.Targets) {
            // "label" or "label+N".
            const std::size_t plus = target.find('+');
            const TSourceSymbol* symbol = FindSourceSymbol(symbols, target.substr(0, plus));
            int offset = 0;
            const bool offsetGood =
                plus == std::string::npos ||
                (plus + 1 < target.size() &&
                 target.find_first_not_of("0123456789", plus + 1) == std::string::npos &&
                 target.size() - plus - 1 <= 4 &&
                 (offset = std::stoi(target.substr(plus + 1)), true));
            const int address = symbol ? symbol->Value + offset : -1;
            if (symbol && symbol->Kind == skLabel && offsetGood && address < image.CodeSize())
                reached.push_back(address);
            else
                result.Diagnostics.push_back(
                    {TCheckSeverity::Error, request.FileName, entry.Line,
                     ";@targets names " + target + ", which is no label (or label+N) of the code"});
        }
    }
    return targets;
}

} // namespace

int TCheckResult::Errors() const {
    return static_cast<int>(std::count_if(Diagnostics.begin(), Diagnostics.end(), [](auto& d) {
        return d.Severity == TCheckSeverity::Error;
    }));
}

int TCheckResult::Warnings() const {
    return static_cast<int>(std::count_if(Diagnostics.begin(), Diagnostics.end(), [](auto& d) {
        return d.Severity == TCheckSeverity::Warning;
    }));
}

const char* SeverityText(TCheckSeverity severity) {
    switch (severity) {
    case TCheckSeverity::Error: return "error";
    case TCheckSeverity::Warning: return "warning";
    case TCheckSeverity::Note: return "note";
    }
    return "error";
}

TCheckResult CheckProgram(const TCheckRequest& request, const ISettingsStore& settings) {
    TCheckResult result;
    TAssemblyImage image(request.Core, request.Options.ProgramSize > 0
                                           ? request.Options.ProgramSize
                                           : CoreDescription(request.Core).CodeSize);
    TSynPicoBlaze parser;
    TNullLog log;
    TAssemblyContext assembly{parser, &image, log, settings, nullptr};
    assembly.WriteOutput = false;
    std::vector<std::string> listing;
    std::vector<TAssemblyDiagnostic> errors;
    if (!AssembleSource(assembly, request.FileName, request.Lines, listing, &errors)) {
        for (const auto& error : errors)
            result.Diagnostics.push_back(
                {TCheckSeverity::Error, error.FileName, error.Line, error.Message});
        return result;
    }
    result.Assembled = true;

    std::vector<TAnnotationError> annotationErrors;
    const auto annotations = ReadCheckAnnotations(request.Lines, annotationErrors);
    for (const auto& error : annotationErrors)
        result.Diagnostics.push_back(
            {TCheckSeverity::Error, request.FileName, error.Line, error.Message});
    const std::vector<TSourceSymbol> symbols =
        CollectSourceSymbols(request.Core, request.FileName, request.Lines);
    const TProgramFlow flow(image, ComputedTargets(request, image, symbols, annotations, result));
    TFlowSummaries summaries(flow);
    TCheckContext context{request, image, parser, flow, summaries, symbols, annotations, result};
    CheckStackDepth(context);
    CheckInterruptSafety(context);
    CheckAccesses(context);
    CheckReachability(context);
    CheckUnusedNames(context);
    CountCycles(context);
    return result;
}

void TCheckContext::Report(TCheckSeverity severity, int line, std::string message) const {
    Result.Diagnostics.push_back({severity, Request.FileName, line, std::move(message)});
}

int TCheckContext::LineOf(int address) const {
    if (address < 0 || address >= Flow.CodeSize()) return 0;
    return std::max(Flow.At(address).Line, 0);
}

std::string TCheckContext::AddressName(int address) const {
    for (const TSourceSymbol& symbol : Symbols)
        if (symbol.Kind == skLabel && symbol.Value == address) return symbol.Name;
    return "$" + HexText(address, CoreDescription(Request.Core).AddressDigits());
}

std::string TCheckContext::RegisterName(int reg, int bank) const {
    const TCoreDescription& core = CoreDescription(Request.Core);
    std::string text = "s" + HexText(reg, core.RegisterDigits);
    if (core.RegisterBanks > 1) text += bank ? " of bank B" : " of bank A";
    for (const TSourceSymbol& symbol : Symbols)
        if (symbol.Kind == skRegister && symbol.Value == reg)
            return text + " (" + symbol.Name + ")";
    return text;
}

std::string TCheckContext::PortName(int port) const {
    std::string text = "$" + HexText(port, 2);
    for (const TSourceSymbol& symbol : Symbols)
        if (symbol.Kind == skDevice && symbol.Value == port) return text + " (" + symbol.Name + ")";
    return text;
}

TFlowState TCheckContext::InterruptEntry() const {
    return {Request.Options.InterruptVector, false, 0};
}

bool TCheckContext::InterruptsUsed() {
    const int vector = Request.Options.InterruptVector;
    return vector >= 0 && vector < Flow.CodeSize() && Flow.At(vector).HasCode &&
           Summaries.Of({0, false, 0}).MaxEnabledDepth >= 0;
}

std::set<int> ReachableStates(const TProgramFlow& flow, TFlowState root) {
    std::set<int> seen{root.Key()};
    std::vector<TFlowState> pending{root};
    auto visit = [&](int address, bool on, int bank) {
        if (address < 0 || address >= flow.CodeSize()) return;
        const TFlowState state{address, on, bank};
        if (seen.insert(state.Key()).second) pending.push_back(state);
    };
    while (!pending.empty()) {
        const TFlowState state = pending.back();
        pending.pop_back();
        const int a = state.Address;
        const bool on = flow.InterruptEnableAfter(a, state.InterruptsOn);
        const int bank = flow.BankAfter(a, state.Bank);
        for (int target : flow.Targets(a))
            visit(target, on, bank);
        if (flow.FallsThrough(a)) visit(a + 1, on, bank);
    }
    return seen;
}

} // namespace korvo
