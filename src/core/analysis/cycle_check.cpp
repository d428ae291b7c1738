#include "analysis/check_context.h"
#include "analysis/cycle_count.h"

namespace korvo {

namespace {

using TEnd = TCycleCounter::TEnd;

// The longest stretch with interrupts disabled: the interrupt routine until
// it returns, and each DINT until interrupts are enabled again.
long long InterruptLatency(TCheckContext& context, TCycleCounter& counter) {
    const TProgramFlow& flow = context.Flow;
    const int vector = context.Request.Options.InterruptVector;
    TCycleRange handler = counter.Between(vector, [&](int address) {
        return flow.Kind(address) == TFlowKind::ReturnFromInterrupt ? TEnd::After : TEnd::None;
    });
    long long worst = handler.Max;
    if (worst < 0) return -1;
    for (int address = 0; address < flow.CodeSize(); ++address) {
        if (flow.At(address).Decoded.Op != TOp::InterruptDisable) continue;
        TCycleRange stretch = counter.Between(address, [&](int at) {
            const TOp op = flow.At(at).Decoded.Op;
            return op == TOp::InterruptEnable || op == TOp::RetiEnable ? TEnd::After : TEnd::None;
        });
        if (stretch.Min >= 0 && stretch.Max < 0) return -1;
        worst = std::max(worst, stretch.Max);
    }
    return worst;
}

} // namespace

void CountCycles(TCheckContext& context) {
    TCycleCounter counter(context.Flow, context.Annotations);
    if (context.InterruptsUsed())
        context.Result.InterruptLatency = InterruptLatency(context, counter);
    if (!context.Request.Cycles) return;
    auto labelAddress = [&](const std::string& name) -> std::optional<int> {
        const TSourceSymbol* symbol = FindSourceSymbol(context.Symbols, name);
        if (symbol && symbol->Kind == skLabel) return symbol->Value;
        context.Report(TCheckSeverity::Error, 0, "--cycles: " + name + " is no label");
        return std::nullopt;
    };
    auto from = labelAddress(context.Request.Cycles->first);
    auto to = labelAddress(context.Request.Cycles->second);
    if (!from || !to) return;
    context.Result.Cycles = counter.Between(
        *from, [&](int address) { return address == *to ? TEnd::Before : TEnd::None; });
}

} // namespace korvo
