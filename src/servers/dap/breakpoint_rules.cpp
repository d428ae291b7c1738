#include "dap/breakpoint_rules.h"

#include <array>
#include <charconv>
#include <string_view>
#include <utility>

namespace korvo::servers {

bool THitCondition::Holds(std::int64_t hits) const {
    switch (Kind) {
    case TKind::AtLeast: return hits >= Count;
    case TKind::Above: return hits > Count;
    case TKind::Exactly: return hits == Count;
    case TKind::Below: return hits < Count;
    case TKind::AtMost: return hits <= Count;
    case TKind::Every: return hits % Count == 0;
    }
    return true;
}

std::optional<THitCondition> ParseHitCondition(const std::string& text) {
    using TKind = THitCondition::TKind;
    // Longer operators first, so that ">=" is not read as ">".
    static constexpr std::array<std::pair<std::string_view, TKind>, 7> kOperators{{
        {">=", TKind::AtLeast},
        {"<=", TKind::AtMost},
        {"==", TKind::Exactly},
        {">", TKind::Above},
        {"<", TKind::Below},
        {"=", TKind::Exactly},
        {"%", TKind::Every},
    }};
    std::string_view rest = text;
    auto trim = [&rest] {
        while (!rest.empty() && rest.front() == ' ')
            rest.remove_prefix(1);
        while (!rest.empty() && rest.back() == ' ')
            rest.remove_suffix(1);
    };
    trim();
    THitCondition condition;
    for (const auto& [spelling, kind] : kOperators) {
        if (rest.substr(0, spelling.size()) != spelling) continue;
        condition.Kind = kind;
        rest.remove_prefix(spelling.size());
        break;
    }
    trim();
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), condition.Count);
    if (rest.empty() || error != std::errc() || end != rest.data() + rest.size() ||
        condition.Count < 0 || (condition.Kind == TKind::Every && condition.Count == 0))
        return std::nullopt;
    return condition;
}

} // namespace korvo::servers
