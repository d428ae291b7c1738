#include "simulator/profiler.h"

#include "simulator/picoblaze_simulator.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <set>

namespace korvo {

TProfiler::TProfiler(const TPicoBlazeSimulator& simulator) : simulator_(simulator) {
    stackIndex_.emplace(frames_, 0);
    stackCounts_.push_back(0);
}

void TProfiler::BeforeCycle() {
    spBefore_ = simulator_.SP();
    countBefore_ = simulator_.InstructionCount();
}

void TProfiler::Enter(int entry) {
    frames_.push_back(entry);
    ++calls_[entry];
}

void TProfiler::AfterCycle() {
    if (simulator_.InstructionCount() > countBefore_) ++stackCounts_[current_];
    const std::int32_t sp = simulator_.SP();
    if (sp == spBefore_) return;
    if (sp == 0 && simulator_.PC() == 0) {
        // A reset: the main program starts again.
        frames_.assign(1, 0);
    } else {
        for (std::int32_t level = spBefore_; level < sp; ++level)
            Enter(simulator_.PC());
        for (std::int32_t level = sp; level < spBefore_ && frames_.size() > 1; ++level)
            frames_.pop_back();
    }
    auto [found, added] = stackIndex_.emplace(frames_, stackCounts_.size());
    if (added) stackCounts_.push_back(0);
    current_ = found->second;
}

std::map<std::vector<int>, std::uint64_t> TProfiler::Stacks() const {
    std::map<std::vector<int>, std::uint64_t> stacks;
    for (const auto& [frames, index] : stackIndex_)
        if (stackCounts_[index] > 0) stacks[frames] = stackCounts_[index];
    return stacks;
}

std::vector<TProfiler::TRoutine> TProfiler::Routines() const {
    std::map<int, TRoutine> routines;
    for (const auto& [entry, calls] : calls_)
        routines[entry] = {entry, calls, 0, 0};
    for (const auto& [frames, count] : Stacks()) {
        routines[frames.back()].Exclusive += count;
        for (int entry : std::set<int>(frames.begin(), frames.end()))
            routines[entry].Inclusive += count;
    }
    std::vector<TRoutine> list;
    for (const auto& [entry, routine] : routines)
        list.push_back(routine);
    std::stable_sort(list.begin(), list.end(), [](const TRoutine& a, const TRoutine& b) {
        return a.Inclusive > b.Inclusive;
    });
    return list;
}

void WriteProfileTable(std::ostream& out, const TProfiler& profiler, const TRoutineNamer& name) {
    const auto routines = profiler.Routines();
    std::uint64_t total = 0;
    for (const auto& routine : routines)
        total += routine.Exclusive;
    auto share = [total](std::uint64_t count) {
        char text[16];
        std::snprintf(text, sizeof text, "%6.1f", total ? 100.0 * count / total : 0.0);
        return std::string(text);
    };
    char line[160];
    std::snprintf(line, sizeof line, "%-24s %10s %14s %6s %14s %6s\n", "routine", "calls",
                  "inclusive", "%", "exclusive", "%");
    out << line;
    for (const auto& routine : routines) {
        std::snprintf(
            line, sizeof line, "%-24s %10llu %14llu %s %14llu %s\n", name(routine.Entry).c_str(),
            static_cast<unsigned long long>(routine.Calls),
            static_cast<unsigned long long>(routine.Inclusive), share(routine.Inclusive).c_str(),
            static_cast<unsigned long long>(routine.Exclusive), share(routine.Exclusive).c_str());
        out << line;
    }
}

void WriteFoldedStacks(std::ostream& out, const TProfiler& profiler, const TRoutineNamer& name) {
    for (const auto& [frames, count] : profiler.Stacks()) {
        for (std::size_t i = 0; i < frames.size(); ++i)
            out << (i ? ";" : "") << name(frames[i]);
        out << " " << count << "\n";
    }
}

} // namespace korvo
