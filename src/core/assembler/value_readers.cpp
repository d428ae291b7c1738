#include "assembler/value_readers.h"

#include "assembler/asm_error.h"

#include <algorithm>
#include <charconv>

namespace korvo {

namespace {
[[noreturn]] void NotAnInteger(std::string_view text) {
    Fail("'" + std::string(text) + "' is not a valid integer value");
}
} // namespace

std::int32_t NumberTokenValue(TTokenKind kind, std::string_view text) {
    if (kind != tkNumber) Fail("Number");
    if (!text.empty() && text.front() == '%') {
        std::uint32_t value = 0;
        for (char digit : text.substr(1)) {
            if (digit != '0' && digit != '1') Fail("Number|Binary digit expected.");
            value = (value << 1) | static_cast<std::uint32_t>(digit - '0');
        }
        return static_cast<std::int32_t>(value);
    }
    if (!text.empty() && text.front() == '$') {
        std::string_view digits = text.substr(1);
        std::uint32_t value = 0;
        auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            NotAnInteger(text);
        return static_cast<std::int32_t>(value);
    }
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        NotAnInteger(text);
    return value;
}

std::int32_t CharTokenValue(TTokenKind kind, std::string_view text) {
    if (kind != tkChar) Fail("Char|Character specification expected here.");
    if (text.size() < 3) Fail("Syntax|Syntax error, incoplete character specification.");
    auto value = static_cast<unsigned char>(text[1]);
    if (text[2] != '\'') Fail("Closing|Closing quote character expected.");
    return value;
}

std::string UnquotedString(std::string_view text) {
    if (text.empty() || text.front() != '"') return std::string(text);
    std::string result;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                result += '"';
                ++i;
                continue;
            }
            break;
        }
        result += text[i];
    }
    return result;
}

} // namespace korvo
