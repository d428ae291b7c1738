#pragma once

#include "assembler/keywords.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Token kinds; the numbers are part of the scanner's contract.
enum TTokenKind : std::uint8_t {
    tkComment = 1,
    tkDirective = 2,
    tkIdentifier = 3,
    tkOpcode = 4,
    tkNull = 5,
    tkNumber = 6,
    tkSpace = 7,
    tkString = 8,
    tkChar = 9,
    tkSymbol = 10,
    tkColon = 11,
    tkComma = 12,
    tkStar = 13,
    tkSlash = 14,
    tkPlus = 15,
    tkMinus = 16,
    tkBar = 17,
    tkCaret = 18,
    tkAmpersand = 19,
    tkTilde = 20,
    tkOpen = 21,
    tkClose = 22,
    tkUnknown = 23,
};

// Colours in the 0x00BBGGRR layout that stored settings use.
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clRed = 0x0000FF;

// Font style bits of an attribute, as stored in settings.
enum TFontStyleBits : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// How one kind of token is painted.
struct TSynHighlighterAttribute {
    std::string Name;
    TColor Foreground = clNone;
    TColor Background = clNone;
    std::uint8_t Style = 0;
};

// Indexes into the attribute list, in creation order.
enum TAttributeIndex : int {
    atComment = 0,
    atIdentifier,
    atIllegalChar,
    atReservedWord,
    atNumber,
    atSpace,
    atString,
    atSymbol,
    atPreprocessor,
    atCount,
    atNone = -1,
};

// The line scanner shared by the editor's highlighter, the assembler's line
// parser and the formatter. It splits one line of 8-bit text into tokens;
// every byte sequence yields tokens, it never reports an error.
//
// The scanner keeps a view of the line: the caller keeps the text alive
// while it scans.
class TSynHighLighterIDE {
public:
    TSynHighLighterIDE();
    virtual ~TSynHighLighterIDE() = default;

    void SetLine(std::string_view text, int lineNumber);
    void Next();
    // Calls Next until the token is not white space. Comments are not skipped.
    void NextNonSpace();
    bool GetEol() const { return tokenKind_ == tkNull; }
    std::string_view GetToken() const { return line_.substr(tokenStart_, position_ - tokenStart_); }
    TTokenKind GetTokenKind() const { return tokenKind_; }
    int GetTokenPos() const { return static_cast<int>(tokenStart_); }
    int GetLineNumber() const { return lineNumber_; }
    std::string_view GetLine() const { return line_; }

    // Index of the attribute that paints the current token, atNone for
    // tokens painted in the editor's plain style.
    TAttributeIndex GetTokenAttributeIndex() const { return AttributeOfKind(tokenKind_); }
    static TAttributeIndex AttributeOfKind(TTokenKind kind);

    std::vector<TSynHighlighterAttribute>& Attributes() { return attributes_; }
    const std::vector<TSynHighlighterAttribute>& Attributes() const { return attributes_; }
    // The built-in colours and styles.
    static std::vector<TSynHighlighterAttribute> DefaultAttributes();

    static bool IsIdentifierChar(unsigned char c) { return kIdentifierChars[c]; }

    // The keyword kind of a spelling (exact, case-sensitive): tkOpcode,
    // tkDirective or tkIdentifier.
    TTokenKind KeywordKind(std::string_view spelling) const;

    static constexpr int kKeywordBuckets = 256;
    static constexpr int kKeywordCapacity = kKeywordSpellingCount;

protected:
    // Empties the keyword table; AddKeyword appends to it.
    void ClearKeywords();
    void AddKeyword(std::string_view spelling, TTokenKind kind);

private:
    struct TKeywordEntry {
        int Next = -1; // next entry of the same bucket, -1 at the end
        std::string Spelling;
        TTokenKind Kind = tkIdentifier;
    };

    static const std::array<bool, 256> kIdentifierChars;
    static unsigned HashOf(std::string_view text);

    unsigned char ByteAt(std::size_t position) const {
        return position < line_.size() ? static_cast<unsigned char>(line_[position]) : 0;
    }
    void ScanQuoted(char quote, TTokenKind kind);

    std::string_view line_;
    std::size_t position_ = 0;
    std::size_t tokenStart_ = 0;
    TTokenKind tokenKind_ = tkNull;
    int lineNumber_ = 0;

    std::array<int, kKeywordBuckets> buckets_{};
    std::array<TKeywordEntry, kKeywordCapacity> keywords_{};
    int keywordCount_ = 0;

    std::vector<TSynHighlighterAttribute> attributes_;
};

} // namespace korvo
