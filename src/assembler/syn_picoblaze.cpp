#include "assembler/syn_picoblaze.h"

#include "assembler/keywords.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace korvo {

namespace {
std::string Cased(std::string_view text, int (*convert)(int)) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return result;
}
} // namespace

TSynPicoBlaze::TSynPicoBlaze() { LoadKeywords(); }

void TSynPicoBlaze::LoadKeywords() {
    ClearKeywords();
    auto registerList = [this](const auto& list, TTokenKind kind) {
        for (std::string_view entry : list) {
            std::string_view spelling = KeywordSpelling(entry);
            AddKeyword(Cased(spelling, ::toupper), kind);
            AddKeyword(Cased(spelling, ::tolower), kind);
        }
    };
    registerList(MnemonicNames, tkOpcode);
    registerList(DirectiveNames, tkDirective);
}

} // namespace korvo
