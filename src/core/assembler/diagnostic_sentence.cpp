#include "assembler/driver.h"

#include <array>
#include <string_view>

namespace korvo {

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

} // namespace korvo
