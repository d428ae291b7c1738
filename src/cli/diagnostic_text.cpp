#include "cli/diagnostic_text.h"

#include "text/kcpsm_words.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace korvo::cli {

namespace {

std::string Upper(std::string_view word) {
    std::string upper(word);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

} // namespace

std::string CommandLogLine(const std::string& line) {
    if (!line.starts_with("?Include file:'")) return line;
    auto result = line.find(": ?", line.find("', line "));
    auto bar = result == std::string::npos ? result : line.find('|', result);
    if (bar == std::string::npos) return line;
    return line.substr(0, result + 2) + line.substr(bar + 1);
}

bool UsesKcpsmWords(const std::vector<std::string>& lines) {
    static constexpr std::string_view kStatements[] = {"NAMEREG", "CONSTANT", "ADDRESS",
                                                       "INPUT",   "OUTPUT",   "RETURNI"};
    for (const std::string& line : lines) {
        std::vector<std::string> words = SplitKcpsmWords(TrimKcpsmLine(line));
        std::size_t first = !words.empty() && words.front().ends_with(':') ? 1 : 0;
        if (first >= words.size()) continue;
        std::string word = Upper(words[first]);
        if (std::find(std::begin(kStatements), std::end(kStatements), word) !=
            std::end(kStatements))
            return true;
        if ((word == "ENABLE" || word == "DISABLE") && first + 1 < words.size() &&
            Upper(words[first + 1]) == "INTERRUPT")
            return true;
    }
    return false;
}

} // namespace korvo::cli
