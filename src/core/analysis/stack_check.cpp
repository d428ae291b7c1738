#include "analysis/check_context.h"

#include <algorithm>

namespace korvo {

namespace {

// One note per call of the chain, with the stack level it reaches.
void ReportChain(TCheckContext& context, const std::vector<TFlowSummaries::TChainStep>& chain,
                 int level) {
    for (const auto& step : chain) {
        if (step.Callee < 0) break;
        context.Report(TCheckSeverity::Note, context.LineOf(step.Site),
                       "call to " + context.AddressName(step.Callee) + " (level " +
                           std::to_string(++level) + ")");
    }
}

void ReportRecursions(TCheckContext& context) {
    std::set<std::vector<int>> reported;
    for (std::vector<int> cycle : context.Summaries.Recursions()) {
        std::vector<int> members = cycle;
        std::sort(members.begin(), members.end());
        if (!reported.insert(members).second) continue;
        std::string text;
        for (int entry : cycle)
            text += context.AddressName(entry) + " calls ";
        context.Report(TCheckSeverity::Warning, context.LineOf(cycle.front()),
                       "recursion: " + text + context.AddressName(cycle.front()) +
                           "; the return stack it needs has no bound");
    }
}

} // namespace

void CheckStackDepth(TCheckContext& context) {
    const TCoreDescription& core = CoreDescription(context.Request.Core);
    const TFlowState reset{0, false, 0};
    const TRoutineSummary& main = context.Summaries.Of(reset);
    int depth = main.MaxDepth;
    bool throughInterrupt = false;
    if (context.InterruptsUsed()) {
        const TRoutineSummary& handler = context.Summaries.Of(context.InterruptEntry());
        const int withInterrupt = main.MaxEnabledDepth + 1 + handler.MaxDepth;
        if (withInterrupt > depth) {
            depth = withInterrupt;
            throughInterrupt = true;
        }
        if (handler.MaxEnabledDepth >= 0) {
            auto chain = context.Summaries.DeepestEnabledChain(context.InterruptEntry());
            context.Report(TCheckSeverity::Warning, context.LineOf(chain.back().Site),
                           "interrupts are enabled again inside the interrupt routine: "
                           "interrupts can nest, and the return stack they need has no bound");
        }
    }
    ReportRecursions(context);
    context.Result.StackDepth = depth;
    context.Result.StackLimit = core.StackDepth;
    if (depth <= core.StackDepth) return;

    const auto chain = throughInterrupt ? context.Summaries.DeepestEnabledChain(reset)
                                        : context.Summaries.DeepestChain(reset);
    context.Report(TCheckSeverity::Error, chain.empty() ? 0 : context.LineOf(chain.front().Site),
                   "the return stack can need " + std::to_string(depth) + " levels; the " +
                       std::string(core.Title) + " has " + std::to_string(core.StackDepth));
    ReportChain(context, chain, 0);
    if (!throughInterrupt) return;
    context.Report(TCheckSeverity::Note, context.LineOf(chain.back().Site),
                   "an interrupt here enters the interrupt routine (level " +
                       std::to_string(main.MaxEnabledDepth + 1) + ")");
    ReportChain(context, context.Summaries.DeepestChain(context.InterruptEntry()),
                main.MaxEnabledDepth + 1);
}

} // namespace korvo
