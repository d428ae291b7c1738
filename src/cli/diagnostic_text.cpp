#include "cli/diagnostic_text.h"

#include "text/kcpsm_words.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace korvo::cli {

namespace {

struct TSentence {
    std::string_view Message;
    std::string_view Sentence;
};

constexpr std::array<TSentence, 7> kSentences{{
    {"Map", "Instruction outside the code space"},
    {"Option", "Condition expected after RETURN (Z, NZ, C or NC)"},
    {"IO Map", "IO port outside IO map, or the partner port of a large block RAM already mapped"},
    {"Equate", "EQU needs a name before it"},
    {"Keyword", "Unknown instruction"},
    {"Number", "Number expected"},
    {"Not allowed", "Multiple SVF files are not allowed"},
}};

std::string Upper(std::string_view word) {
    std::string upper(word);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

} // namespace

std::string DiagnosticSentence(const TAssemblyDiagnostic& diagnostic) {
    std::string sentence = diagnostic.Message;
    if (diagnostic.Kind.empty()) {
        for (const TSentence& known : kSentences)
            if (sentence == known.Message) sentence = known.Sentence;
        // ORG beyond the code space: "> $3FF".
        if (sentence.starts_with("> $"))
            sentence = "Address above " + sentence.substr(2) + ", the last code address";
    }
    if (!diagnostic.Subject.empty()) sentence += ": \"" + diagnostic.Subject + "\"";
    return sentence;
}

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
