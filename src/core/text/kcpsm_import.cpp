#include "text/kcpsm_import.h"

#include "assembler/asm_error.h"
#include "assembler/value_readers.h"
#include "text/kcpsm_words.h"
#include "text/source_formatter.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <set>
#include <string_view>

namespace korvo {

namespace {

struct TRename {
    std::string_view Kcpsm;
    std::string_view Dialect;
};

constexpr std::array<TRename, 9> kRenames{{
    {"ADDCY", "ADDC"},
    {"SUBCY", "SUBC"},
    {"INPUT", "IN"},
    {"OUTPUT", "OUT"},
    {"RETURN", "RET"},
    {"RETURNI", "RETI"},
    {"ENABLE", "EINT"},
    {"DISABLE", "DINT"},
    {"COMPARE", "COMP"},
}};

// Constants are bytes; ADDRESS reaches the 1024-word code space.
constexpr int kConstantLimit = 255;
constexpr int kAddressLimit = 1023;

using TNameSet = std::set<std::string, std::less<>>;

std::string Cased(std::string_view text, int (*convert)(int)) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [convert](unsigned char c) { return static_cast<char>(convert(c)); });
    return result;
}

bool IsLabelWord(const std::string& word) {
    return word.find(':') != std::string::npos;
}
bool IsCommentWord(const std::string& word) {
    return !word.empty() && word.front() == ';';
}

// The words of a line after a leading label or comment word, which goes into
// lead.
std::vector<std::string> StatementWords(std::string_view line, std::string& lead) {
    std::vector<std::string> words = SplitKcpsmWords(TrimKcpsmLine(line));
    lead.clear();
    if (!words.empty() && (IsLabelWord(words.front()) || IsCommentWord(words.front()))) {
        lead = std::move(words.front());
        words.erase(words.begin());
    }
    return words;
}

// Every name the file defines with CONSTANT, NAMEREG or a label, spelled as
// written: KCPSM reads such a word as the name even where it would also be a
// hexadecimal number.
TNameSet CollectNames(const std::vector<std::string>& lines) {
    TNameSet names;
    std::string lead;
    for (const auto& line : lines) {
        std::vector<std::string> words = StatementWords(line, lead);
        if (IsLabelWord(lead) && !IsCommentWord(lead)) names.insert(lead.substr(0, lead.find(':')));
        if (words.empty()) continue;
        std::string keyword = Cased(words[0], ::toupper);
        if (keyword == "CONSTANT" && words.size() >= 2) names.insert(words[1]);
        if (keyword == "NAMEREG" && words.size() >= 3) names.insert(words[2]);
    }
    return names;
}

// The word read as a hexadecimal number, as if "$" stood in front of it;
// -1 when it is not one.
std::int32_t HexValueOf(const std::string& word) {
    try {
        return NumberTokenValue(tkNumber, "$" + word);
    } catch (const EAsmError&) {
        return -1;
    }
}

// A hexadecimal word becomes a decimal number up to 99 and a "$" number up to
// the limit; anything else keeps its text. The separator goes in front of
// the result, except before a comment word, which stays as it is.
std::string RewriteNumber(const std::string& word, int limit, std::string_view separator,
                          const TNameSet& names) {
    const std::int32_t value = names.count(word) ? -1 : HexValueOf(word);
    std::string result(separator);
    if (value >= 0 && value <= 99) return result + std::to_string(value);
    if (value >= 0 && value <= limit) return result + "$" + HexText(value, 2);
    return IsCommentWord(word) ? word : result + word;
}

void AppendWords(std::string& line, const std::vector<std::string>& words, std::size_t from,
                 std::string_view before) {
    for (std::size_t i = from; i < words.size(); ++i) {
        line += before;
        line += words[i];
    }
}

std::string ConvertLine(const std::string& line, const TNameSet& names) {
    if (line.empty()) return line;
    std::string result;
    std::vector<std::string> words = StatementWords(line, result);
    if (words.empty()) return result;

    std::string keyword = Cased(words[0], ::toupper);
    if (keyword == "CONSTANT") {
        if (words.size() >= 2) result += words[1] + " EQU ";
        if (words.size() >= 3) words[2] = RewriteNumber(words[2], kConstantLimit, " ", names);
        AppendWords(result, words, 2, "");
    } else if (keyword == "NAMEREG") {
        // The new name becomes an equate of the register.
        if (words.size() >= 3) result += words[2] + " EQU " + words[1];
        AppendWords(result, words, 3, " ");
    } else if (keyword == "ADDRESS") {
        if (words.size() >= 2) {
            result += " ORG ";
            words[1] = RewriteNumber(words[1], kAddressLimit, " ", names);
        }
        AppendWords(result, words, 1, "");
    } else {
        // The target of a JUMP or CALL is a code address, not a byte: read
        // with the byte limit, "JUMP NZ, 100" would keep "100" and the
        // dialect would read it as decimal, another address.
        const bool branch = keyword == "JUMP" || keyword == "CALL";
        const int operandLimit = branch ? kAddressLimit : kConstantLimit;
        if (words.size() >= 3) words[2] = RewriteNumber(words[2], operandLimit, ", ", names);
        // An unconditional target is the only operand. "JUMP C" (a condition
        // without a target) stays as written for the assembler to report.
        const std::size_t operandEnd =
            IsCommentWord(words.back()) ? words.size() - 1 : words.size();
        if (branch && operandEnd == 2 && Cased(words[1], ::toupper) != "C")
            words[1] = RewriteNumber(words[1], kAddressLimit, "", names);
        auto rename = std::find_if(kRenames.begin(), kRenames.end(),
                                   [&](const TRename& entry) { return entry.Kcpsm == keyword; });
        if (rename == kRenames.end()) {
            AppendWords(result, words, 0, " ");
        } else {
            result += rename->Dialect;
            // ENABLE INTERRUPT and DISABLE INTERRUPT lose their operand word.
            bool interruptSwitch = rename->Kcpsm == "ENABLE" || rename->Kcpsm == "DISABLE";
            bool dropInterrupt =
                interruptSwitch && words.size() > 1 && Cased(words[1], ::tolower) == "interrupt";
            AppendWords(result, words, dropInterrupt ? 2 : 1, " ");
        }
    }
    return result;
}

} // namespace

std::vector<std::string> ConvertKcpsmLines(const std::vector<std::string>& lines) {
    const TNameSet names = CollectNames(lines);
    std::vector<std::string> converted;
    converted.reserve(lines.size());
    for (const auto& line : lines)
        converted.push_back(ConvertLine(line, names));
    return converted;
}

std::vector<std::string> ConvertKcpsmSource(TSynHighLighterIDE& scanner,
                                            const std::vector<std::string>& lines,
                                            TCoreKind coreKind, const TFormatColumns& columns) {
    return FormatLines(scanner, ConvertKcpsmLines(lines), coreKind, columns);
}

} // namespace korvo
