#include "analysis/check_context.h"

#include <algorithm>
#include <array>
#include <map>

namespace korvo {

namespace {

constexpr int kBanks = 2;
constexpr int kRegisters = 32;

// For each bank and register, the first address that does something to it;
// -1 where none does.
using TRegisterSites = std::array<std::array<int, kRegisters>, kBanks>;

TRegisterSites NoSites() {
    TRegisterSites sites;
    for (auto& bank : sites)
        bank.fill(-1);
    return sites;
}

void Mark(TRegisterSites& sites, int bank, std::uint32_t registers, int address) {
    for (int reg = 0; reg < kRegisters; ++reg)
        if ((registers >> reg & 1) && (sites[bank][reg] < 0 || address < sites[bank][reg]))
            sites[bank][reg] = address;
}

// The registers the interrupt routine keeps for the main program: stored in
// the scratch pad and fetched back, or copied to another register and back.
std::array<std::uint32_t, kBanks> KeptRegisters(const TProgramFlow& flow,
                                                const std::set<int>& handler) {
    std::array<std::uint32_t, kBanks> stored{}, fetched{}, kept{};
    // (to, from) of each register copy, with the first address that makes it.
    std::map<std::pair<int, int>, int> copies[kBanks];
    for (int key : handler) {
        const TFlowState state = TFlowState::OfKey(key);
        const TDecoded& d = flow.At(state.Address).Decoded;
        const int bank = state.Bank;
        if (d.Op == TOp::StoreK || d.Op == TOp::StoreR) stored[bank] |= 1u << d.X;
        if (d.Op == TOp::FetchK || d.Op == TOp::FetchR) fetched[bank] |= 1u << d.X;
        if (d.Op == TOp::LoadR) {
            auto [copy, added] = copies[bank].try_emplace({d.X, d.Y}, state.Address);
            if (!added) copy->second = std::min(copy->second, state.Address);
        }
    }
    for (int bank = 0; bank < kBanks; ++bank) {
        kept[bank] = stored[bank] & fetched[bank];
        // Copied aside first and back later: the register copied aside is kept.
        for (const auto& [pair, address] : copies[bank]) {
            auto back = copies[bank].find({pair.second, pair.first});
            if (back != copies[bank].end() && address < back->second)
                kept[bank] |= 1u << pair.second;
        }
    }
    return kept;
}

} // namespace

void CheckInterruptSafety(TCheckContext& context) {
    if (!context.InterruptsUsed()) return;
    const TProgramFlow& flow = context.Flow;
    const std::set<int> handler = ReachableStates(flow, context.InterruptEntry());
    const std::set<int> main = ReachableStates(flow, {0, false, 0});

    TRegisterSites written = NoSites();
    for (int key : handler) {
        const TFlowState state = TFlowState::OfKey(key);
        const TRegisterEffect effect = flow.RegisterEffect(state.Address);
        // STAR into the main program's bank hands it a value on purpose.
        Mark(written, state.Bank, effect.Writes, state.Address);
    }
    // A register the main program only reads is a value the routine hands
    // over; one it changes too can be changed under it.
    // Only where an interrupt can come between a write and what follows.
    TRegisterSites changed = NoSites();
    for (int key : main) {
        const TFlowState state = TFlowState::OfKey(key);
        if (!state.InterruptsOn) continue;
        const TRegisterEffect effect = flow.RegisterEffect(state.Address);
        Mark(changed, state.Bank, effect.Writes, state.Address);
        Mark(changed, 1 - state.Bank, effect.OtherBankWrites, state.Address);
    }
    const auto kept = KeptRegisters(flow, handler);
    for (int bank = 0; bank < kBanks; ++bank) {
        for (int reg = 0; reg < kRegisters; ++reg) {
            const int write = written[bank][reg];
            const int use = changed[bank][reg];
            if (write < 0 || use < 0 || (kept[bank] >> reg & 1)) continue;
            context.Report(TCheckSeverity::Warning, context.LineOf(write),
                           "the interrupt routine changes " + context.RegisterName(reg, bank) +
                               ", which the main program changes too; save and restore it in the "
                               "routine" +
                               (CoreDescription(context.Request.Core).RegisterBanks > 1
                                    ? " or switch the bank"
                                    : ""));
            context.Report(TCheckSeverity::Note, context.LineOf(use),
                           "the main program changes " + context.RegisterName(reg, bank) + " here");
        }
    }
}

} // namespace korvo
