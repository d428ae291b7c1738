#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvo {

// How a text file's bytes map to characters. Files are shown as UTF-8 when
// their bytes are valid UTF-8 and as Latin-1 (one byte, one character)
// otherwise, so that every byte sequence loads and saves back unchanged.
enum class TTextEncoding { Utf8, Latin1 };

bool IsValidUtf8(std::string_view bytes);
std::string Latin1ToUtf8(std::string_view bytes);
// Nothing when the text is not valid UTF-8 or holds a character above U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

struct TDecodedText {
    std::string Utf8;
    TTextEncoding Encoding = TTextEncoding::Utf8;
};

// File bytes to UTF-8 text, with the encoding they were read in.
TDecodedText DecodeText(std::string_view bytes);

// UTF-8 text to file bytes in the given encoding. Text that Latin-1 cannot
// hold is written as UTF-8 (so nothing typed is lost) and encoding becomes
// Utf8.
std::string EncodeText(std::string_view utf8, TTextEncoding& encoding);

} // namespace korvo
