#include "shell/text/kcpsm_words.h"

#include <cctype>
#include <limits>

namespace korvo {

namespace {
bool IsTrimmed(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool IsDelimiter(char c) {
    return c == '\t' || c == ' ' || c == ',';
}
} // namespace

std::string_view TrimKcpsmLine(std::string_view line) {
    while (!line.empty() && IsTrimmed(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsTrimmed(line.back()))
        line.remove_suffix(1);
    return line;
}

std::vector<std::string> SplitKcpsmWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t position = 0;
    while (position < line.size()) {
        std::size_t start = position;
        while (position < line.size() && IsDelimiter(line[position]))
            ++position;
        if (position == line.size()) {
            if (position > start) words.emplace_back(); // a trailing separator
            break;
        }
        if (line[position] == ';') {
            words.emplace_back(line.substr(position));
            break;
        }
        start = position;
        while (position < line.size() && !IsDelimiter(line[position]))
            ++position;
        words.emplace_back(line.substr(start, position - start));
    }
    return words;
}

std::optional<int> ReadKcpsmHex(std::string_view word) {
    if (word.empty()) return std::nullopt;
    long long value = 0;
    for (char c : word) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        int digit = std::isdigit(static_cast<unsigned char>(c))
                        ? c - '0'
                        : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        value = value * 16 + digit;
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace korvo
