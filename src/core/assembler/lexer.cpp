#include "assembler/lexer.h"

namespace korvo {

namespace {

constexpr std::array<bool, 256> MakeIdentifierChars() {
    std::array<bool, 256> set{};
    for (int c = '0'; c <= '9'; ++c)
        set[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c)
        set[c] = true;
    for (int c = 'a'; c <= 'z'; ++c)
        set[c] = true;
    set['_'] = true;
    return set;
}

bool IsLetterOrUnderscore(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(unsigned char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsLineEnd(unsigned char c) {
    return c == 0 || c == '\n' || c == '\r';
}

} // namespace

const std::array<bool, 256> TSynHighLighterIDE::kIdentifierChars = MakeIdentifierChars();

TSynHighLighterIDE::TSynHighLighterIDE() : attributes_(DefaultAttributes()) {
    ClearKeywords();
}

std::vector<TSynHighlighterAttribute> TSynHighLighterIDE::DefaultAttributes() {
    return {
        {"Comment", clGray, clNone, fsItalic},
        {"Identifier", clNavy, clNone, 0},
        {"Illegal char", clNone, clNone, 0},
        {"Reserved word", clBlue, clNone, fsBold},
        {"Number", clTeal, clNone, 0},
        {"Space", clNone, clNone, 0},
        {"String", clMaroon, clNone, 0},
        {"Symbol", clNone, clNone, 0},
        {"Preprocessor", clPurple, clNone, fsBold | fsItalic},
    };
}

TAttributeIndex TSynHighLighterIDE::AttributeOfKind(TTokenKind kind) {
    switch (kind) {
    case tkComment: return atComment;
    case tkDirective: return atPreprocessor;
    case tkIdentifier:
    case tkUnknown: return atIdentifier;
    case tkOpcode: return atReservedWord;
    case tkNumber: return atNumber;
    case tkSpace: return atSpace;
    case tkString: return atString;
    case tkSymbol: return atSymbol;
    case tkNull:
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
    case tkClose: return atNone;
    }
    return atNone;
}

unsigned TSynHighLighterIDE::HashOf(std::string_view text) {
    unsigned hash = 0;
    for (unsigned char c : text) {
        if (!kIdentifierChars[c]) break;
        hash += c;
    }
    return hash % kKeywordBuckets;
}

void TSynHighLighterIDE::ClearKeywords() {
    buckets_.fill(-1);
    keywordCount_ = 0;
}

void TSynHighLighterIDE::AddKeyword(std::string_view spelling, TTokenKind kind) {
    if (keywordCount_ >= kKeywordCapacity) return;
    int index = keywordCount_++;
    keywords_[index] = TKeywordEntry{-1, std::string(spelling), kind};
    int* link = &buckets_[HashOf(spelling)];
    while (*link >= 0)
        link = &keywords_[*link].Next;
    *link = index;
}

TTokenKind TSynHighLighterIDE::KeywordKind(std::string_view spelling) const {
    TTokenKind kind = tkIdentifier;
    for (int index = buckets_[HashOf(spelling)]; index >= 0; index = keywords_[index].Next)
        if (keywords_[index].Spelling == spelling) kind = keywords_[index].Kind;
    return kind;
}

void TSynHighLighterIDE::SetLine(std::string_view text, int lineNumber) {
    line_ = text;
    lineNumber_ = lineNumber;
    position_ = 0;
    Next();
}

void TSynHighLighterIDE::NextNonSpace() {
    do {
        Next();
    } while (tokenKind_ == tkSpace);
}

void TSynHighLighterIDE::ScanQuoted(char quote, TTokenKind kind) {
    tokenKind_ = kind;
    if (ByteAt(position_ + 1) == static_cast<unsigned char>(quote) &&
        ByteAt(position_ + 2) == static_cast<unsigned char>(quote))
        position_ += 2;
    ++position_;
    if (kind == tkString) {
        while (!IsLineEnd(ByteAt(position_)) && ByteAt(position_) != quote)
            ++position_;
        if (ByteAt(position_) == static_cast<unsigned char>(quote)) ++position_;
    } else {
        while (!IsLineEnd(ByteAt(position_)))
            if (line_[position_++] == quote) break;
    }
}

void TSynHighLighterIDE::Next() {
    tokenStart_ = position_;
    unsigned char c = ByteAt(position_);
    switch (c) {
    case 0: tokenKind_ = tkNull; return;
    case '\n':
        tokenKind_ = tkSpace;
        ++position_;
        return;
    case '\r':
        tokenKind_ = tkSpace;
        ++position_;
        if (ByteAt(position_) == '\n') ++position_;
        return;
    case ';':
        tokenKind_ = tkComment;
        while (!IsLineEnd(ByteAt(position_)))
            ++position_;
        return;
    case '$':
        tokenKind_ = tkNumber;
        ++position_;
        while (IsHexDigit(ByteAt(position_)))
            ++position_;
        return;
    case '%':
        tokenKind_ = tkNumber;
        ++position_;
        while (ByteAt(position_) == '0' || ByteAt(position_) == '1')
            ++position_;
        return;
    case '"': ScanQuoted('"', tkString); return;
    case '\'': ScanQuoted('\'', tkChar); return;
    case ':': tokenKind_ = tkColon; break;
    case ',': tokenKind_ = tkComma; break;
    case '*': tokenKind_ = tkStar; break;
    case '/': tokenKind_ = tkSlash; break;
    case '+': tokenKind_ = tkPlus; break;
    case '-': tokenKind_ = tkMinus; break;
    case '|': tokenKind_ = tkBar; break;
    case '^': tokenKind_ = tkCaret; break;
    case '&': tokenKind_ = tkAmpersand; break;
    case '~': tokenKind_ = tkTilde; break;
    case '(':
    case '[': tokenKind_ = tkOpen; break;
    case ')':
    case ']': tokenKind_ = tkClose; break;
    default:
        if (c <= 32) {
            tokenKind_ = tkSpace;
            ++position_;
            for (unsigned char d = ByteAt(position_); d >= 1 && d <= 32 && d != '\n' && d != '\r';
                 d = ByteAt(position_))
                ++position_;
            return;
        }
        if (IsLetterOrUnderscore(c)) {
            while (kIdentifierChars[ByteAt(position_)])
                ++position_;
            tokenKind_ = KeywordKind(line_.substr(tokenStart_, position_ - tokenStart_));
            return;
        }
        if (IsDigit(c)) {
            tokenKind_ = tkNumber;
            while (IsDigit(ByteAt(position_)))
                ++position_;
            return;
        }
        tokenKind_ = tkUnknown;
        break;
    }
    ++position_; // the one-byte tokens
}

} // namespace korvo
