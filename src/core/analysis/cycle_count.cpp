#include "analysis/cycle_count.h"

#include <algorithm>
#include <limits>

namespace korvo {

namespace {

// Above this the count means nothing to anyone: it stands for no bound.
constexpr long long kHugeCycles = 1'000'000'000'000'000LL;

long long Saturated(long long value) {
    return std::min(value, kHugeCycles);
}

constexpr long long kUnset = -1;

} // namespace

TCycleRange TCycleCounter::Routine(int entry) {
    if (auto found = routines_.find(entry); found != routines_.end()) return found->second;
    if (std::find(routinesInProgress_.begin(), routinesInProgress_.end(), entry) !=
        routinesInProgress_.end())
        return {0, -1,
                "the recursion through the routine at line " +
                    std::to_string(flow_.At(entry).Line)};
    routinesInProgress_.push_back(entry);
    TCycleRange range = Between(entry, [this](int address) {
        switch (flow_.Kind(address)) {
        case TFlowKind::Return:
        case TFlowKind::ReturnFromInterrupt: return TEnd::After;
        case TFlowKind::ConditionalReturn: return TEnd::AfterOrOn;
        case TFlowKind::Step:
        case TFlowKind::Jump:
        case TFlowKind::ConditionalJump:
        case TFlowKind::Call:
        case TFlowKind::ConditionalCall:
        case TFlowKind::ComputedJump:
        case TFlowKind::ComputedCall:
        case TFlowKind::Stop: break;
        }
        return TEnd::None;
    });
    routinesInProgress_.pop_back();
    routines_[entry] = range;
    return range;
}

TCycleRange TCycleCounter::Between(int start, const TEndPoints& ends) {
    const int size = flow_.CodeSize();
    auto index = [](int address) { return static_cast<std::size_t>(address); };
    std::string unbounded;
    auto noBound = [&](const std::string& why) {
        if (unbounded.empty()) unbounded = why;
    };

    // Each node's cost (shortest, longest), end and successors.
    std::vector<long long> least(index(size), 0), most(index(size), 0);
    std::vector<TEnd> end(index(size), TEnd::None);
    std::vector<std::vector<int>> next(index(size));
    std::vector<bool> known(index(size));
    auto describe = [&](int a) {
        known[index(a)] = true;
        end[index(a)] = ends(a);
        if (end[index(a)] == TEnd::Before) return;
        least[index(a)] = most[index(a)] = kCyclesPerInstruction;
        const TFlowKind kind = flow_.Kind(a);
        if (kind == TFlowKind::Stop || end[index(a)] == TEnd::After) return;
        bool returns = true;
        if (kind == TFlowKind::Call || kind == TFlowKind::ConditionalCall ||
            kind == TFlowKind::ComputedCall) {
            long long shortest = kUnset, longest = 0;
            for (int target : flow_.Targets(a)) {
                const TCycleRange routine = Routine(target);
                if (routine.Min < 0) continue;
                shortest = shortest < 0 ? routine.Min : std::min(shortest, routine.Min);
                if (routine.Max < 0)
                    noBound(routine.Unbounded);
                else
                    longest = std::max(longest, routine.Max);
            }
            returns = shortest >= 0 || kind == TFlowKind::ConditionalCall;
            if (kind != TFlowKind::ConditionalCall && shortest > 0) least[index(a)] += shortest;
            most[index(a)] = Saturated(most[index(a)] + longest);
        } else {
            for (int target : flow_.Targets(a))
                next[index(a)].push_back(target);
        }
        if (flow_.IsComputedWithoutTargets(a))
            noBound("the computed branch at line " + std::to_string(flow_.At(a).Line) +
                    " (no ;@targets)");
        if (returns && flow_.FallsThrough(a)) next[index(a)].push_back(a + 1);
    };

    // Depth-first from the start: the order, and the branches that close loops.
    std::vector<int> postorder;
    std::vector<std::pair<int, int>> backEdges;
    std::vector<std::uint8_t> colour(index(size), 0); // 0 new, 1 open, 2 done
    struct TFrame {
        int Address;
        std::size_t Next;
    };
    std::vector<TFrame> stack{{start, 0}};
    describe(start);
    colour[index(start)] = 1;
    while (!stack.empty()) {
        TFrame& frame = stack.back();
        const auto& successors = next[index(frame.Address)];
        if (frame.Next == successors.size()) {
            colour[index(frame.Address)] = 2;
            postorder.push_back(frame.Address);
            stack.pop_back();
            continue;
        }
        const int to = successors[frame.Next++];
        if (colour[index(to)] == 1) {
            backEdges.push_back({frame.Address, to});
        } else if (colour[index(to)] == 0) {
            describe(to);
            colour[index(to)] = 1;
            stack.push_back({to, 0});
        }
    }
    std::vector<int> order(postorder.rbegin(), postorder.rend());
    std::vector<int> position(index(size), -1);
    for (std::size_t i = 0; i < order.size(); ++i)
        position[index(order[i])] = static_cast<int>(i);
    auto isBackEdge = [&](int from, int to) {
        return std::find(backEdges.begin(), backEdges.end(), std::pair{from, to}) !=
               backEdges.end();
    };

    // The longest path from one node to another without closing a loop.
    auto longestPath = [&](int from, int to) {
        std::vector<long long> best(index(size), kUnset);
        best[index(from)] = most[index(from)];
        for (std::size_t i = static_cast<std::size_t>(position[index(from)]); i < order.size();
             ++i) {
            const int a = order[i];
            if (best[index(a)] < 0 || a == to) continue;
            for (int s : next[index(a)])
                if (!isBackEdge(a, s))
                    best[index(s)] =
                        std::max(best[index(s)], Saturated(best[index(a)] + most[index(s)]));
        }
        return best[index(to)];
    };

    // Inner loops first: their cost is part of the outer ones'.
    std::sort(backEdges.begin(), backEdges.end(), [&](auto& a, auto& b) {
        return position[index(a.first)] - position[index(a.second)] <
               position[index(b.first)] - position[index(b.second)];
    });
    for (const auto& [branch, head] : backEdges) {
        auto annotation = annotations_.find(flow_.At(branch).Line);
        if (annotation == annotations_.end() || annotation->second.LoopBound < 1) {
            noBound("the loop closed at line " + std::to_string(flow_.At(branch).Line) +
                    " (no ;@loop bound)");
            continue;
        }
        const long long pass = longestPath(head, branch);
        const long long extra = annotation->second.LoopBound - 1;
        most[index(head)] =
            Saturated(most[index(head)] +
                      (extra > 0 && pass > kHugeCycles / extra ? kHugeCycles : extra * pass));
    }

    // Shortest and longest way from the start to an end.
    std::vector<long long> shortest(index(size), kUnset), longest(index(size), kUnset);
    shortest[index(start)] = least[index(start)];
    longest[index(start)] = most[index(start)];
    TCycleRange range;
    for (int a : order) {
        if (shortest[index(a)] < 0) continue;
        if (end[index(a)] != TEnd::None) {
            range.Min =
                range.Min < 0 ? shortest[index(a)] : std::min(range.Min, shortest[index(a)]);
            range.Max = std::max(range.Max, longest[index(a)]);
        }
        for (int s : next[index(a)]) {
            if (isBackEdge(a, s)) continue;
            const long long low = shortest[index(a)] + least[index(s)];
            shortest[index(s)] = shortest[index(s)] < 0 ? low : std::min(shortest[index(s)], low);
            longest[index(s)] =
                std::max(longest[index(s)], Saturated(longest[index(a)] + most[index(s)]));
        }
    }
    if (range.Max >= kHugeCycles)
        noBound("a count beyond " + std::to_string(kHugeCycles) + " cycles");
    if (!unbounded.empty() && range.Min >= 0) {
        range.Max = -1;
        range.Unbounded = unbounded;
    }
    return range;
}

} // namespace korvo
