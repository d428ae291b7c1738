#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

// value in upper-case hexadecimal with at least minDigits digits; negative
// numbers are shown as their 32-bit two's complement.
std::string HexText(std::int64_t value, int minDigits);

// A whole 32-bit integer as users type it: decimal, or hexadecimal after a
// "$" (up to eight digits, so "$FFFFFFFF" is -1), with an optional sign and
// surrounding blanks; nothing for anything else.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

} // namespace korvo
