#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// Removes leading and trailing blanks and control characters.
std::string_view TrimKcpsmLine(std::string_view line);

// Splits a trimmed KCPSM line into words. Tab, blank and "," separate words;
// a ";" where a word would start takes the rest of the line as one last word.
// A separator at the very end of the line gives one final empty word.
std::vector<std::string> SplitKcpsmWords(std::string_view line);

} // namespace korvo
