#include "lsp/lsp_text.h"

#include <QUrl>

namespace korvo::servers::lsp {

namespace {

// The bytes of the UTF-8 character that starts with this byte, and its
// UTF-16 code units.
struct TCharacterSize {
    std::size_t Bytes;
    int Units;
};

TCharacterSize CharacterAt(std::string_view text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    std::size_t bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (at + bytes > text.size()) bytes = 1;
    for (std::size_t i = 1; i < bytes; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return {1, 1};
    return {bytes, bytes == 4 ? 2 : 1};
}

} // namespace

int Utf16Length(std::string_view text) {
    int units = 0;
    for (std::size_t at = 0; at < text.size();) {
        TCharacterSize size = CharacterAt(text, at);
        at += size.Bytes;
        units += size.Units;
    }
    return units;
}

std::size_t ByteOffsetOf(std::string_view line, int character) {
    std::size_t at = 0;
    for (int units = 0; at < line.size() && units < character;) {
        TCharacterSize size = CharacterAt(line, at);
        at += size.Bytes;
        units += size.Units;
    }
    return at;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\n' && text[at] != '\r') continue;
        lines.emplace_back(text.substr(start, at - start));
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        start = at + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

QJsonObject PositionJson(int line, int character) {
    return {{"line", line}, {"character", character}};
}

QJsonObject RangeJson(int line, int startCharacter, int endLine, int endCharacter) {
    return {{"start", PositionJson(line, startCharacter)},
            {"end", PositionJson(endLine, endCharacter)}};
}

QJsonObject WordRangeJson(int line, std::string_view text, std::size_t column, std::size_t length) {
    column = std::min(column, text.size());
    // The scanner takes a byte above 127 as a token of its own: the range
    // ends with the character that byte starts.
    std::size_t end = std::min(column + length, text.size());
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    int start = Utf16Length(text.substr(0, column));
    return RangeJson(line, start, line, start + Utf16Length(text.substr(column, end - column)));
}

std::string PathOfUri(const std::string& uri) {
    QUrl url(QString::fromStdString(uri));
    return url.isLocalFile() ? url.toLocalFile().toStdString() : std::string();
}

std::string UriOfPath(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path))
        .toString(QUrl::FullyEncoded)
        .toStdString();
}

} // namespace korvo::servers::lsp
