#include "common/hex_text.h"

#include <charconv>

namespace korvo {

void AppendHex(std::string& text, std::uint64_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    int digits = 1;
    while (digits < 16 && (value >> (4 * digits)) != 0)
        ++digits;
    if (digits < minDigits) text.append(static_cast<std::size_t>(minDigits - digits), '0');
    for (int i = digits - 1; i >= 0; --i)
        text += kDigits[(value >> (4 * i)) & 0xF];
}

std::string HexText(std::int64_t value, int minDigits) {
    std::string text;
    AppendHex(text,
              value < 0 ? static_cast<std::uint32_t>(value) : static_cast<std::uint64_t>(value),
              minDigits);
    return text;
}

std::optional<std::uint64_t> ParseHex(std::string_view text) {
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace korvo
