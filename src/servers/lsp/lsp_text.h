#pragma once

#include <QJsonObject>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::servers::lsp {

// The protocol counts characters of a line in UTF-16 code units; the
// assembler sees the line's UTF-8 bytes.

// UTF-16 code units of a UTF-8 text (a byte that starts no character counts
// as one).
int Utf16Length(std::string_view text);
// The byte offset of a UTF-16 position in a line; the line's end for a
// position beyond it.
std::size_t ByteOffsetOf(std::string_view line, int character);

// The lines of a text, split at "\n", "\r\n" and "\r"; a text ending in a
// line break ends with an empty line.
std::vector<std::string> SplitLines(std::string_view text);

// {"line", "character"} and {"start", "end"}; the columns in UTF-16 units.
QJsonObject PositionJson(int line, int character);
QJsonObject RangeJson(int line, int startCharacter, int endLine, int endCharacter);
// The bytes [column, column + length) of a line as a range, to the end of
// the character the last byte is part of.
QJsonObject WordRangeJson(int line, std::string_view text, std::size_t column, std::size_t length);

// A file URI and the local path it names; an empty path for other schemes.
std::string PathOfUri(const std::string& uri);
std::string UriOfPath(const std::string& path);

} // namespace korvo::servers::lsp
