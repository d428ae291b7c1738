#pragma once

#include <stdexcept>
#include <string>

namespace korvo {

// The parser's one error kind. The message is a short kind word, "|" and a
// sentence ("Label|Label not found"); a few messages have no "|". A pass
// catches it and turns it into the line's result text.
class EAsmError : public std::runtime_error {
public:
    explicit EAsmError(const std::string& message) : std::runtime_error(message) {}
};

// The word of a line an error points at: the byte offset of its first
// character and its length in bytes; Length 0 when not known.
struct TErrorWord {
    int Column = 0;
    int Length = 0;
};

[[noreturn]] inline void Fail(const std::string& message) {
    throw EAsmError(message);
}

} // namespace korvo
