#include "analysis/flow_summaries.h"

#include <algorithm>
#include <set>

namespace korvo {

namespace {
// No chain is longer than the code space has routines.
constexpr std::size_t kChainLimit = 4096;
} // namespace

const TRoutineSummary& TFlowSummaries::Of(TFlowState entry) {
    const int key = entry.Key();
    if (!summaries_.count(key)) Summarise(key);
    return summaries_.at(key);
}

void TFlowSummaries::Summarise(int key) {
    inProgress_.push_back(key);
    TRoutineSummary summary;
    std::set<int> seen;
    std::vector<TFlowState> pending{TFlowState::OfKey(key)};
    auto visit = [&](int address, bool on, int bank) {
        if (address < 0 || address >= flow_.CodeSize()) return;
        const TFlowState state{address, on, bank};
        if (seen.insert(state.Key()).second) pending.push_back(state);
    };
    seen.insert(key);
    while (!pending.empty()) {
        const TFlowState state = pending.back();
        pending.pop_back();
        const int a = state.Address;
        if (state.InterruptsOn && summary.MaxEnabledDepth < 0) {
            summary.MaxEnabledDepth = 0;
            summary.EnabledAt = a;
        }
        const bool on = flow_.InterruptEnableAfter(a, state.InterruptsOn);
        const int bank = flow_.BankAfter(a, state.Bank);
        const TFlowKind kind = flow_.Kind(a);
        switch (kind) {
        case TFlowKind::Call:
        case TFlowKind::ConditionalCall:
        case TFlowKind::ComputedCall:
            for (int target : flow_.Targets(a)) {
                const int callee = TFlowState{target, on, bank}.Key();
                if (std::find(inProgress_.begin(), inProgress_.end(), callee) !=
                    inProgress_.end()) {
                    std::vector<int> cycle;
                    for (auto it = std::find(inProgress_.begin(), inProgress_.end(), callee);
                         it != inProgress_.end(); ++it)
                        cycle.push_back(TFlowState::OfKey(*it).Address);
                    recursions_.push_back(std::move(cycle));
                    if (summary.MaxDepth < 1) {
                        summary.MaxDepth = 1;
                        summary.DeepestCall = a;
                        summary.DeepestCallee = -1;
                    }
                    visit(a + 1, on, bank);
                    continue;
                }
                const TRoutineSummary& inner = Of(TFlowState::OfKey(callee));
                if (1 + inner.MaxDepth > summary.MaxDepth) {
                    summary.MaxDepth = 1 + inner.MaxDepth;
                    summary.DeepestCall = a;
                    summary.DeepestCallee = callee;
                }
                if (inner.MaxEnabledDepth >= 0 &&
                    1 + inner.MaxEnabledDepth > summary.MaxEnabledDepth) {
                    summary.MaxEnabledDepth = 1 + inner.MaxEnabledDepth;
                    summary.EnabledAt = a;
                    summary.EnabledCallee = callee;
                }
                const std::uint8_t exits = inner.Exits;
                for (int exit = 0; exit < 4; ++exit)
                    if (exits & (1 << exit)) visit(a + 1, (exit & 2) != 0, exit & 1);
            }
            if (kind == TFlowKind::ConditionalCall) visit(a + 1, on, bank);
            break;
        case TFlowKind::Return:
        case TFlowKind::ReturnFromInterrupt:
            summary.Exits |= static_cast<std::uint8_t>(1 << ((on ? 2 : 0) + bank));
            break;
        case TFlowKind::ConditionalReturn:
            summary.Exits |= static_cast<std::uint8_t>(1 << ((on ? 2 : 0) + bank));
            visit(a + 1, on, bank);
            break;
        case TFlowKind::Jump:
        case TFlowKind::ConditionalJump:
        case TFlowKind::ComputedJump:
            for (int target : flow_.Targets(a))
                visit(target, on, bank);
            if (kind == TFlowKind::ConditionalJump) visit(a + 1, on, bank);
            break;
        case TFlowKind::Step:
            if (flow_.FallsThrough(a)) visit(a + 1, on, bank);
            break;
        case TFlowKind::Stop: break;
        }
    }
    inProgress_.pop_back();
    summaries_[key] = summary;
}

namespace {
int EntryAddress(int key) {
    return key < 0 ? -1 : TFlowState::OfKey(key).Address;
}
} // namespace

std::vector<TFlowSummaries::TChainStep>
TFlowSummaries::Chain(TFlowState entry, int TRoutineSummary::*site, int TRoutineSummary::*callee) {
    std::vector<TChainStep> chain;
    for (int key = entry.Key(); key >= 0 && chain.size() < kChainLimit;) {
        const TRoutineSummary& summary = Of(TFlowState::OfKey(key));
        if (summary.*site < 0) break;
        chain.push_back({summary.*site, EntryAddress(summary.*callee)});
        key = summary.*callee;
    }
    return chain;
}

std::vector<TFlowSummaries::TChainStep> TFlowSummaries::DeepestChain(TFlowState entry) {
    return Chain(entry, &TRoutineSummary::DeepestCall, &TRoutineSummary::DeepestCallee);
}

std::vector<TFlowSummaries::TChainStep> TFlowSummaries::DeepestEnabledChain(TFlowState entry) {
    return Chain(entry, &TRoutineSummary::EnabledAt, &TRoutineSummary::EnabledCallee);
}

} // namespace korvo
