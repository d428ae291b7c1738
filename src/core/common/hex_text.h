#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

// The value in upper-case hexadecimal, padded with leading zeros to at least
// minDigits digits; a value that needs more digits gets them. A negative
// value is shown as its 32-bit two's complement, as the program's registers
// and numbers are 32 bits wide.
std::string HexText(std::int64_t value, int minDigits);

// Appends the unsigned value in upper-case hexadecimal, padded as HexText.
void AppendHex(std::string& text, std::uint64_t value, int minDigits);

// Parses a whole hexadecimal number (digits in either case, no prefix, no
// sign) that fits in 64 bits; nothing otherwise.
std::optional<std::uint64_t> ParseHex(std::string_view text);

} // namespace korvo
