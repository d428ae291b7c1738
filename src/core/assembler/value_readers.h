#pragma once

#include "common/hex_text.h"

#include "assembler/lexer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace korvo {

// The value of a number token: "%" binary (bits above 32 are lost), "$"
// hexadecimal or decimal, as a 32-bit signed integer. Raises the parser's
// error for a token that is not a number or does not convert.
std::int32_t NumberTokenValue(TTokenKind kind, std::string_view text);

// The byte code of a character literal such as 'A'.
std::int32_t CharTokenValue(TTokenKind kind, std::string_view text);

// The text of a string token without its double quotes; a doubled double
// quote inside stands for one. An unterminated string runs to its end.
std::string UnquotedString(std::string_view text);

} // namespace korvo
