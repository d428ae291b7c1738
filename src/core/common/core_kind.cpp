#include "common/core_kind.h"

#include <cctype>

namespace korvo {

std::optional<TCoreKind> CoreKindFromNumber(int number) {
    if (number < 1 || number > kCoreCount) return std::nullopt;
    return static_cast<TCoreKind>(number);
}

std::optional<TCoreKind> CoreKindFromName(std::string_view name) {
    auto sameText = [](std::string_view a, std::string_view b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::toupper(static_cast<unsigned char>(x)) ==
                   std::toupper(static_cast<unsigned char>(y));
        });
    };
    for (const auto& core : kCores)
        if (sameText(name, core.CommandName) || name == std::to_string(static_cast<int>(core.Kind)))
            return core.Kind;
    return std::nullopt;
}

std::string CoreCommandNames(std::string_view separator, std::string_view lastSeparator) {
    std::string names;
    for (std::size_t i = 0; i < kCores.size(); ++i) {
        if (i > 0) names += i + 1 == kCores.size() ? lastSeparator : separator;
        names += kCores[i].CommandName;
    }
    return names;
}

} // namespace korvo
