#include "text/kcpsm6_source.h"

#include "assembler/symbol_table.h"
#include "common/hex_text.h"
#include "common/text_file.h"
#include "text/kcpsm_words.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <system_error>

namespace korvo {

namespace {

// The statement words only KCPSM6 knows.
constexpr std::array<std::string_view, 14> kKcpsm6Words{
    "STAR",  "TESTCY", "COMPARECY", "HWBUILD", "OUTPUTK", "LOAD&RETURN",  "REGBANK",
    "JUMP@", "CALL@",  "STRING",    "TABLE",   "INCLUDE", "DEFAULT_JUMP", "INST"};

struct TPredefined {
    std::string_view Name;
    int Value;
};
constexpr std::array<TPredefined, 11> kPredefined{{{"NUL", 0x00},
                                                   {"BEL", 0x07},
                                                   {"BS", 0x08},
                                                   {"HT", 0x09},
                                                   {"LF", 0x0A},
                                                   {"VT", 0x0B},
                                                   {"CR", 0x0D},
                                                   {"ESC", 0x1B},
                                                   {"DEL", 0x7F},
                                                   {"DCS", 0x90},
                                                   {"ST", 0x9C}}};

// Whether the word is longer than the suffix and ends with it, in any case.
bool HasSuffix(std::string_view word, std::string_view suffix) {
    return word.size() > suffix.size() &&
           SameTextIgnoringCase(word.substr(word.size() - suffix.size()), suffix);
}

// The value of digits in the given base, all of them used.
std::optional<std::uint32_t> DigitsValue(std::string_view digits, int base) {
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// The digits before a suffix such as 'd, in the given base.
std::optional<std::uint32_t> DigitsWithSuffix(std::string_view word, std::string_view suffix,
                                              int base) {
    if (!HasSuffix(word, suffix)) return std::nullopt;
    return DigitsValue(word.substr(0, word.size() - suffix.size()), base);
}

// "A": one character between double quotes.
std::optional<std::uint8_t> QuotedCharacter(std::string_view word) {
    if (word.size() != 3 || word.front() != '"' || word.back() != '"') return std::nullopt;
    return static_cast<std::uint8_t>(word[1]);
}

bool IsNumberForm(std::string_view word) {
    return DigitsWithSuffix(word, "'d", 10) || DigitsWithSuffix(word, "'b", 2) ||
           Kcpsm6AddressPart(word);
}

} // namespace

bool LooksLikeKcpsm6(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        TKcpsmStatement statement = SplitKcpsmStatement(line, true);
        if (statement.Words.empty()) continue;
        const std::string keyword = UpperCase(statement.Words.front());
        if (std::ranges::find(kKcpsm6Words, keyword) != kKcpsm6Words.end()) return true;
        for (std::size_t i = 1; i < statement.OperandEnd(); ++i)
            if (IsNumberForm(statement.Words[i])) return true;
    }
    return false;
}

std::string DialectCharacter(std::uint8_t c) {
    if (c >= 0x20 && c < 0x7F && c != '\'') return std::string("'") + static_cast<char>(c) + "'";
    return "$" + HexText(c, 2);
}

std::optional<std::string> Kcpsm6NumberText(std::string_view word) {
    if (auto value = DigitsWithSuffix(word, "'d", 10)) return std::to_string(*value);
    if (DigitsWithSuffix(word, "'b", 2)) return "%" + std::string(word.substr(0, word.size() - 2));
    if (auto c = QuotedCharacter(word)) return DialectCharacter(*c);
    return std::nullopt;
}

std::optional<std::uint32_t> Kcpsm6NumberValue(std::string_view word) {
    if (auto value = DigitsWithSuffix(word, "'d", 10)) return value;
    if (auto value = DigitsWithSuffix(word, "'b", 2)) return value;
    if (auto c = QuotedCharacter(word)) return *c;
    if (auto value = ParseHex(word); value && *value <= 0xFFFFFFFF)
        return static_cast<std::uint32_t>(*value);
    return std::nullopt;
}

std::optional<TKcpsm6AddressPart> Kcpsm6AddressPart(std::string_view word) {
    for (auto [suffix, upper] : {std::pair{std::string_view("'upper"), true},
                                 std::pair{std::string_view("'lower"), false}})
        if (HasSuffix(word, suffix))
            return TKcpsm6AddressPart{word.substr(0, word.size() - suffix.size()), upper};
    return std::nullopt;
}

std::optional<int> Kcpsm6PredefinedValue(std::string_view name, const std::tm& now) {
    for (const auto& predefined : kPredefined)
        if (predefined.Name == name) return predefined.Value;
    const std::pair<std::string_view, int> stamps[] = {
        {"timestamp_hours", now.tm_hour},    {"timestamp_minutes", now.tm_min},
        {"timestamp_seconds", now.tm_sec},   {"datestamp_year", now.tm_year % 100},
        {"datestamp_month", now.tm_mon + 1}, {"datestamp_day", now.tm_mday}};
    for (const auto& [stamp, value] : stamps)
        if (stamp == name) return value;
    return std::nullopt;
}

std::optional<std::string> Kcpsm6PredefinedString(std::string_view name, const std::tm& time,
                                                  std::string_view version) {
    auto twoDigits = [](int value) {
        return std::string(1, static_cast<char>('0' + value / 10 % 10)) +
               static_cast<char>('0' + value % 10);
    };
    if (name == "datestamp$")
        return twoDigits(time.tm_mday) + " " +
               std::string(kKcpsm6Months[static_cast<std::size_t>(time.tm_mon % 12)]) + " " +
               std::to_string(time.tm_year + 1900);
    if (name == "timestamp$")
        return twoDigits(time.tm_hour) + ":" + twoDigits(time.tm_min) + ":" +
               twoDigits(time.tm_sec);
    if (name == "KCPSM6_version$") return std::string(version);
    return std::nullopt;
}

std::optional<std::string> Kcpsm6StringText(const std::vector<std::string>& operands) {
    if (operands.size() < 2) return std::nullopt;
    const std::string& text = operands[1];
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
    return text.substr(1, text.size() - 2);
}

std::optional<std::vector<std::uint8_t>>
Kcpsm6TableBytes(const std::vector<std::string>& operands) {
    // The values after the name: "[a", "b", ..., "c]" with 'd or 'b glued to
    // the bracket.
    if (operands.size() < 2 || operands[1].empty() || operands[1].front() != '[')
        return std::nullopt;
    std::string last = operands.back();
    int base = 16;
    if (last.size() > 2 && last[last.size() - 2] == '\'') {
        const char form = static_cast<char>(std::tolower(static_cast<unsigned char>(last.back())));
        if (form != 'd' && form != 'b') return std::nullopt;
        base = form == 'd' ? 10 : 2;
        last.resize(last.size() - 2);
    }
    if (last.empty() || last.back() != ']') return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i < operands.size(); ++i) {
        std::string_view value = i + 1 == operands.size() ? std::string_view(last) : operands[i];
        if (i == 1) value.remove_prefix(1);
        if (i + 1 == operands.size()) value.remove_suffix(1);
        if (value.empty() && operands.size() == 2) break; // "[]"
        auto number = DigitsValue(value, base);
        if (!number || *number > 0xFF) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*number));
    }
    return bytes;
}

namespace {

// The entries of a folder whose names equal name but for letter case.
std::vector<std::string> NamesIgnoringCase(const std::string& folder, const std::string& name) {
    std::vector<std::string> found;
    std::error_code error;
    const std::filesystem::path where(folder.empty() ? "." : folder);
    for (std::filesystem::directory_iterator entry(where, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string entryName = entry->path().filename().string();
        if (SameTextIgnoringCase(entryName, name)) found.push_back(entryName);
    }
    std::ranges::sort(found);
    return found;
}

// The file an INCLUDE name means, found from the including file's folder.
// "\" separates folders as "/" does. A part of the name that does not exist
// as written is taken from its one match ignoring case, with a note; several
// matches are an error that names them.
std::string IncludedPath(const std::string& written, const std::string& directory,
                         std::vector<std::string>& notes) {
    std::string name = written;
    std::ranges::replace(name, '\\', '/');
    const bool absolute = IsAbsoluteFileName(name);
    std::string path = absolute ? "" : directory;
    std::string_view rest = name;
    if (absolute) {
        const std::size_t root = rest.find_first_not_of('/');
        path = std::string(rest.substr(0, root == std::string_view::npos ? rest.size() : root));
        rest.remove_prefix(path.size());
    }
    bool adapted = false;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        std::string part(rest.substr(0, slash));
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
        if (!part.empty() && part != "." && part != ".." && !PathExists(path + part)) {
            const std::vector<std::string> matches = NamesIgnoringCase(path, part);
            if (matches.size() > 1) {
                std::string listed;
                for (const auto& match : matches)
                    listed += (listed.empty() ? "" : ", ") + path + match;
                throw EFileError("INCLUDE \"" + written + "\": several files match: " + listed);
            }
            if (matches.size() == 1) {
                part = matches.front();
                adapted = true;
            }
        }
        path += part;
        if (slash != std::string_view::npos) path += '/';
    }
    if (adapted) notes.push_back("INCLUDE \"" + written + "\" read from " + path);
    return path;
}

void Flatten(const std::vector<std::string>& lines, int file, TKcpsmFlatSource& source,
             std::vector<int>& including) {
    including.push_back(file);
    const std::string directory = DirectoryPart(source.Files[static_cast<std::size_t>(file)]);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TKcpsmStatement statement = SplitKcpsmStatement(lines[i], true);
        const int line = static_cast<int>(i) + 1;
        const bool include = statement.Words.size() >= 2 && statement.Lead.empty() &&
                             UpperCase(statement.Words[0]) == "INCLUDE" &&
                             statement.Words[1].size() >= 2 && statement.Words[1].front() == '"';
        if (!include) {
            source.Lines.push_back({lines[i], file, line});
            continue;
        }
        const std::string& quoted = statement.Words[1];
        const std::string path =
            IncludedPath(quoted.substr(1, quoted.size() - 2), directory, source.Notes);
        // The same file under another name ("../lib/a.psm", a link) is the
        // same file: an including cycle ends there.
        auto known = std::ranges::find_if(
            source.Files, [&](const std::string& file) { return SameFile(file, path); });
        const int included = static_cast<int>(known - source.Files.begin());
        if (std::ranges::find(including, included) != including.end()) {
            source.Lines.push_back(
                {"; INCLUDE " + quoted + " is being included already", file, line});
            continue;
        }
        std::vector<std::string> includedLines;
        try {
            includedLines = ReadTextLines(path);
        } catch (const EFileError& failure) {
            // Where the INCLUDE stands, so that the user finds the name.
            throw EFileError(source.Files[static_cast<std::size_t>(file)] + ":" +
                             std::to_string(line) + ": " + failure.what());
        }
        if (known == source.Files.end()) source.Files.push_back(path);
        source.Lines.push_back({"; ---- INCLUDE " + quoted + " begins", file, line});
        Flatten(includedLines, included, source, including);
        source.Lines.push_back({"; ---- INCLUDE " + quoted + " ends", file, line});
    }
    including.pop_back();
}

} // namespace

TKcpsmFlatSource FlattenKcpsmIncludes(const std::vector<std::string>& lines,
                                      const std::string& sourceFile) {
    TKcpsmFlatSource source;
    source.Files.push_back(sourceFile);
    std::vector<int> including;
    Flatten(lines, 0, source, including);
    return source;
}

} // namespace korvo
