#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Splits a command line into words the way a POSIX shell splits a simple
// command, without any expansion: blanks separate words; single quotes keep
// everything up to the next single quote; double quotes keep everything up to
// the next double quote except that a backslash escapes $ ` " \ and a line
// break there; outside quotes a backslash keeps the next character (and
// drops an escaped line break). Quoting an empty text gives an empty word.
// Nothing when a quote is not closed.
std::optional<std::vector<std::string>> SplitCommandWords(std::string_view commandLine);

} // namespace korvo
