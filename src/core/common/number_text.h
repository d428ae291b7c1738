#pragma once

#include "common/hex_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvo {

// A whole 32-bit integer as users type it: decimal, or hexadecimal after a
// "$" (up to eight digits, so "$FFFFFFFF" is -1), with an optional sign and
// surrounding blanks; nothing for anything else.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

} // namespace korvo
