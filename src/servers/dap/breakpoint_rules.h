#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace korvo::servers {

// When a breakpoint that was reached stops the run, by how often it has
// been reached: "5" or ">=5" from the fifth time on, ">5", "==5" (or "=5")
// only the fifth time, "<5", "<=5", "%5" every fifth time. Nothing for a
// text that is none of these.
struct THitCondition {
    enum class TKind { AtLeast, Above, Exactly, Below, AtMost, Every };
    TKind Kind = TKind::AtLeast;
    std::int64_t Count = 0;
    bool Holds(std::int64_t hits) const;
};
std::optional<THitCondition> ParseHitCondition(const std::string& text);

// The breakpoints of the source lines, with their conditions and how often
// each was reached.
struct TBreakpointRule {
    int Id = 0;
    std::string Condition;    // an expression; empty: none
    std::string HitCondition; // see THitCondition; empty: none
    std::int64_t Hits = 0;
};
using TBreakpointRules = std::map<int, TBreakpointRule>; // by source line

} // namespace korvo::servers
