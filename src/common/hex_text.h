#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

// The value in upper-case hexadecimal, padded with leading zeros to at least
// minDigits digits; a value that needs more digits gets them.
std::string HexText(std::uint64_t value, int minDigits);

// Appends HexText(value, minDigits) to text without a temporary string.
void AppendHex(std::string& text, std::uint64_t value, int minDigits);

// Parses a whole hexadecimal number (digits in either case, no prefix, no
// sign) that fits in 64 bits; nothing otherwise.
std::optional<std::uint64_t> ParseHex(std::string_view text);

} // namespace korvo
