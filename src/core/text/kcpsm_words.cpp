#include "text/kcpsm_words.h"

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

bool IsKcpsmComment(std::string_view word) {
    return !word.empty() && word.front() == ';';
}

std::vector<std::string> SplitKcpsmWords(std::string_view line, bool quoted) {
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
        bool inQuotes = false;
        while (position < line.size() &&
               (inQuotes || (!IsDelimiter(line[position]) && line[position] != ';'))) {
            if (quoted && line[position] == '"') inQuotes = !inQuotes;
            ++position;
        }
        words.emplace_back(line.substr(start, position - start));
    }
    return words;
}

TKcpsmStatement SplitKcpsmStatement(std::string_view line, bool quoted) {
    TKcpsmStatement statement;
    statement.Words = SplitKcpsmWords(TrimKcpsmLine(line), quoted);
    auto& words = statement.Words;
    // "name :" and "name :LOAD": blanks before the colon of a label.
    if (words.size() >= 2 && words[1].starts_with(':') && words[0].find(':') == std::string::npos &&
        !IsKcpsmComment(words[0])) {
        words[0] += words[1];
        words.erase(words.begin() + 1);
    }
    if (!words.empty() &&
        (words.front().find(':') != std::string::npos || IsKcpsmComment(words.front()))) {
        statement.Lead = std::move(words.front());
        words.erase(words.begin());
    }
    return statement;
}

} // namespace korvo
