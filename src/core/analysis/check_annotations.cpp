#include "analysis/check_annotations.h"

#include "assembler/symbol_table.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace korvo {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// The text after ";@" of the line's comment; empty when it has none. A ";"
// inside quotes is not a comment.
std::string_view AnnotationText(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\'' || line[i] == '"') quoted = !quoted;
        if (quoted || line[i] != ';') continue;
        std::string_view comment = Trimmed(line.substr(i + 1));
        return comment.starts_with('@') ? comment.substr(1) : std::string_view{};
    }
    return {};
}

std::vector<std::string> NameList(std::string_view text) {
    std::vector<std::string> names;
    std::string name;
    for (char c : text) {
        if (c == ',' || std::isspace(static_cast<unsigned char>(c))) {
            if (!name.empty()) names.push_back(std::move(name));
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty()) names.push_back(std::move(name));
    return names;
}

} // namespace

std::map<int, TCheckAnnotation> ReadCheckAnnotations(const std::vector<std::string>& lines,
                                                     std::vector<TAnnotationError>& errors) {
    std::map<int, TCheckAnnotation> annotations;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        std::string_view text = AnnotationText(lines[i]);
        if (text.empty()) continue;
        std::size_t end = 0;
        while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string keyword = UpperCase(text.substr(0, end));
        const std::string_view rest = Trimmed(text.substr(end));
        auto fail = [&](const std::string& what) { errors.push_back({line, what}); };
        if (keyword == "TARGETS") {
            auto names = NameList(rest);
            if (names.empty())
                fail(";@targets needs the labels the computed branch reaches");
            else
                annotations[line].Targets = std::move(names);
        } else if (keyword == "LOOP") {
            long long bound = 0;
            auto [next, code] = std::from_chars(rest.data(), rest.data() + rest.size(), bound);
            if (code != std::errc() || next != rest.data() + rest.size() || bound < 1)
                fail(";@loop needs the largest number of runs of the loop, a whole number of at "
                     "least 1");
            else
                annotations[line].LoopBound = bound;
        } else {
            fail("unknown annotation ;@" + std::string(text.substr(0, end)) +
                 " (known: ;@targets, ;@loop)");
        }
    }
    return annotations;
}

} // namespace korvo
