#include "common/number_text.h"

#include <charconv>

namespace korvo {

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hexadecimal = !text.empty() && text.front() == '$';
    if (hexadecimal) text.remove_prefix(1);
    if (text.empty() || (hexadecimal && text.size() > 8)) return std::nullopt;
    std::uint64_t magnitude = 0;
    auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, hexadecimal ? 16 : 10);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (hexadecimal) {
        auto bits = static_cast<std::uint32_t>(magnitude);
        auto value = static_cast<std::int32_t>(bits);
        return negative ? static_cast<std::int32_t>(0u - bits) : value;
    }
    if (negative ? magnitude > 2147483648u : magnitude > 2147483647u) return std::nullopt;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
}

} // namespace korvo
