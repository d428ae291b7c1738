#include "text/source_formatter.h"

#include "assembler/asm_error.h"
#include "assembler/value_readers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace korvo {

namespace {

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsRegisterLetter(char c) {
    return c == 'S' || c == 's';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string ToUpper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), Upper);
    return upper;
}

std::string_view DropLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

bool EndsWith(const std::string& text, char c) {
    return !text.empty() && text.back() == c;
}

// Appends blanks until the text reaches the column.
void PadTo(std::string& text, int column) {
    auto width = static_cast<std::size_t>(std::clamp(column, 0, kMaxFormatColumn));
    if (text.size() < width) text.append(width - text.size(), ' ');
}

// Register names get one spelling: "s" and upper-case hex digits, two digits
// for the 32 registers of PicoBlaze II and one for the other cores. A few
// reserved words are written in upper case; anything else stays as written.
std::string CanonicalIdentifier(std::string_view word, bool twoDigitRegisters) {
    if (word.size() == 3 && IsRegisterLetter(word[0]) &&
        (word[1] == '0' || (twoDigitRegisters && word[1] == '1')) && IsHexDigit(word[2])) {
        if (twoDigitRegisters) return {'s', word[1], Upper(word[2])};
        return {'s', Upper(word[2])};
    }
    if (word.size() == 2 && IsRegisterLetter(word[0]) && IsHexDigit(word[1])) {
        if (twoDigitRegisters) return {'s', '0', Upper(word[1])};
        return {'s', Upper(word[1])};
    }
    static constexpr std::array<std::string_view, 5> kUpperCaseWords{"C", "Z", "NZ", "NC",
                                                                     "ENABLE"};
    std::string upper = ToUpper(word);
    if (std::find(kUpperCaseWords.begin(), kUpperCaseWords.end(), upper) != kUpperCaseWords.end())
        return upper;
    return std::string(word);
}

// Hexadecimal numbers in upper case with at least two digits, decimal ones
// without leading zeros, binary ones as written. A number that does not
// convert stays as written, so that the assembler still reports it.
std::string CanonicalNumber(std::string_view token) {
    if (token.front() == '%') return std::string(token);
    try {
        std::int32_t value = NumberTokenValue(tkNumber, token);
        return token.front() == '$' ? "$" + HexText(value, 2) : std::to_string(value);
    } catch (const EAsmError&) {
        return std::string(token);
    }
}

// Whether text appended directly after the result would be read as part of
// the result's last token (an identifier or number running on).
bool WouldJoin(const std::string& result, std::string_view piece) {
    if (result.empty() || piece.empty()) return false;
    auto last = static_cast<unsigned char>(result.back());
    auto first = static_cast<unsigned char>(piece.front());
    if (TSynHighLighterIDE::IsIdentifierChar(last) || last == '$' || last == '%')
        return TSynHighLighterIDE::IsIdentifierChar(first);
    return (last == '"' || last == '\'') && first == last;
}

// A comment after code, at Column3. A ";;" comment keeps both semicolons.
void AppendTrailingComment(std::string& result, std::string_view token, int column) {
    PadTo(result, column);
    std::string_view rest = token.substr(1);
    if (!rest.empty() && rest.front() == ';') {
        result += ';';
        result += rest;
    } else {
        result += "; ";
        result += DropLeadingBlanks(rest);
    }
}

void AppendKeyword(std::string& result, std::string_view token, const TFormatColumns& columns) {
    if (!result.empty() && !EndsWith(result, ' ')) result += ' ';
    PadTo(result, columns.Column1);
    result += ToUpper(token);
    result += ' ';
    PadTo(result, columns.Column2);
}

// The text of a token that is appended without layout of its own.
std::string PlainPiece(const TSynHighLighterIDE& scanner, const std::string& result,
                       bool spaceBefore, bool twoDigitRegisters) {
    std::string_view token = scanner.GetToken();
    switch (scanner.GetTokenKind()) {
    case tkIdentifier: return CanonicalIdentifier(token, twoDigitRegisters);
    case tkNumber: return CanonicalNumber(token);
    // Literals stay as written: a character literal is either well formed or
    // an error the assembler must still see.
    case tkString:
    case tkChar: return std::string(token);
    case tkColon: return ": ";
    case tkComma: return ", ";
    case tkPlus: return EndsWith(result, ' ') ? "+ " : " + ";
    case tkMinus: return EndsWith(result, ' ') ? "- " : " - ";
    case tkStar: return " * ";
    case tkSlash: return " / ";
    case tkBar: return " | ";
    case tkCaret: return " ^ ";
    case tkAmpersand: return " & ";
    case tkTilde: return "~ ";
    case tkOpen: return "( ";
    case tkClose: return " )";
    // FormatLine lays out keywords, comments, symbols and blanks itself.
    case tkComment:
    case tkDirective:
    case tkOpcode:
    case tkNull:
    case tkSpace:
    case tkSymbol:
    case tkUnknown:
        // An unknown character is marked with "?"; a mark written by an
        // earlier run (or a "?" right before it) is not marked again.
        if (token == "?" || (!spaceBefore && EndsWith(result, '?'))) return std::string(token);
        return "?" + std::string(token);
    }
    return std::string(token);
}

} // namespace

std::string FormatLine(TSynHighLighterIDE& scanner, std::string_view line, int lineNumber,
                       TCoreKind coreKind, const TFormatColumns& columns) {
    const bool twoDigitRegisters = CoreDescription(coreKind).RegisterDigits == 2;
    std::string result;
    scanner.SetLine(line, lineNumber);
    if (scanner.GetTokenKind() == tkSpace) scanner.NextNonSpace();

    if (scanner.GetTokenKind() == tkComment) {
        result = "; ";
        result += DropLeadingBlanks(scanner.GetToken().substr(1));
        scanner.Next();
    }
    bool spaceBefore = false;
    while (!scanner.GetEol()) {
        switch (scanner.GetTokenKind()) {
        case tkOpcode:
        case tkDirective: AppendKeyword(result, scanner.GetToken(), columns); break;
        case tkComment: AppendTrailingComment(result, scanner.GetToken(), columns.Column3); break;
        case tkSymbol:
            if (!EndsWith(result, ' ')) result += ' ';
            result += scanner.GetToken();
            result += ' ';
            break;
        case tkIdentifier:
        case tkNull:
        case tkNumber:
        case tkSpace:
        case tkString:
        case tkChar:
        case tkColon:
        case tkComma:
        case tkStar:
        case tkSlash:
        case tkPlus:
        case tkMinus:
        case tkBar:
        case tkCaret:
        case tkAmpersand:
        case tkTilde:
        case tkOpen:
        case tkClose:
        case tkUnknown: {
            std::string piece = PlainPiece(scanner, result, spaceBefore, twoDigitRegisters);
            // Tokens that white space kept apart must not run together.
            if (spaceBefore && WouldJoin(result, piece)) result += ' ';
            result += piece;
        }
        }
        scanner.Next();
        spaceBefore = false;
        for (; scanner.GetTokenKind() == tkSpace; scanner.Next())
            spaceBefore = true;
    }
    // The scanner stops at a NUL byte; whatever follows it is kept unchanged.
    result += line.substr(static_cast<std::size_t>(scanner.GetTokenPos()));
    return result;
}

std::vector<std::string> FormatLines(TSynHighLighterIDE& scanner,
                                     const std::vector<std::string>& lines, TCoreKind coreKind,
                                     const TFormatColumns& columns) {
    std::vector<std::string> formatted;
    formatted.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        formatted.push_back(
            FormatLine(scanner, lines[i], static_cast<int>(i + 1), coreKind, columns));
    return formatted;
}

} // namespace korvo
