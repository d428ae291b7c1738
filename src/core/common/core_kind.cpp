#include "common/core_kind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace korvo {

namespace {
constexpr std::array<TCoreTraits, 5> kTraits{{
    {TCoreKind::none, 16, 0, 0, 0, 2, 4, "none", ""},
    {TCoreKind::pbtI, 16, 256, 16, 16, 2, 4, "pbtI", "Picoblaze-I"},
    {TCoreKind::pbtII, 18, 1024, 32, 32, 3, 5, "pbtII", "Picoblaze-II"},
    {TCoreKind::pbt3, 18, 1024, 16, 32, 3, 5, "pbt3", "Picoblaze-3"},
    {TCoreKind::pbtC, 16, 256, 8, 4, 2, 4, "pbtC", "Picoblaze-CR"},
}};
} // namespace

const TCoreTraits& CoreTraits(TCoreKind kind) {
    auto index = static_cast<std::size_t>(kind);
    return index < kTraits.size() ? kTraits[index] : kTraits[0];
}

std::optional<TCoreKind> CoreKindFromNumber(int number) {
    if (number < 1 || number > 4) return std::nullopt;
    return static_cast<TCoreKind>(number);
}

std::optional<TCoreKind> CoreKindFromName(std::string_view name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper == "I" || upper == "1") return TCoreKind::pbtI;
    if (upper == "II" || upper == "2") return TCoreKind::pbtII;
    if (upper == "3") return TCoreKind::pbt3;
    if (upper == "CR" || upper == "4") return TCoreKind::pbtC;
    return std::nullopt;
}

} // namespace korvo
