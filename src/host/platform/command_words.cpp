#include "platform/command_words.h"

namespace korvo {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool EscapableInDoubleQuotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}
} // namespace

std::optional<std::vector<std::string>> SplitCommandWords(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (IsBlank(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else if (c == '\\') {
            if (i + 1 == commandLine.size()) {
                word += c;
                inWord = true;
            } else if (commandLine[++i] != '\n') {
                word += commandLine[i];
                inWord = true;
            }
        } else if (c == '\'') {
            auto close = commandLine.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            word.append(commandLine.substr(i + 1, close - i - 1));
            inWord = true;
            i = close;
        } else if (c == '"') {
            inWord = true;
            for (++i;; ++i) {
                if (i == commandLine.size()) return std::nullopt;
                char inner = commandLine[i];
                if (inner == '"') break;
                if (inner == '\\' && i + 1 < commandLine.size() &&
                    EscapableInDoubleQuotes(commandLine[i + 1])) {
                    if (commandLine[++i] != '\n') word += commandLine[i];
                } else {
                    word += inner;
                }
            }
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

} // namespace korvo
