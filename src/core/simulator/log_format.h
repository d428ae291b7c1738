#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvo {

// A log format that cannot be applied.
class EFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One log line of an output port: the format applied to two arguments, the
// value as an integer and the value as a character (its low eight bits).
// Each specifier takes the next argument; a specifier is
//   "%" ["-"] [width] ["." precision] type
// with type d (signed decimal), u (unsigned decimal), x or X (hexadecimal,
// upper-case digits), c or s (the character); "%%" is a percent sign. For
// the numbers the precision is the least number of digits, for s the most
// characters; "-" pads on the right. Anything else, or a third specifier,
// throws EFormatError. The user's text never reaches printf.
std::string FormatLogLine(std::string_view format, std::int32_t value);

inline constexpr std::string_view kDefaultLogFormat = "$%.2x";

} // namespace korvo
