#pragma once

#include "common/log.h"
#include "output/code_words.h"

#include <string>

namespace korvo {

// The memory file: one line per 16 words, each line "@" and the byte address
// of its first word, then the words. An 18-bit word takes four bytes and
// eight digits, a 16-bit word two bytes and four digits.
std::string BuildMemText(const TCodeWords& words);

// Logs the MEM line with the expanded path and saves the file.
void WriteMemFile(const TCodeWords& words, const std::string& fileName, ILog& log);

} // namespace korvo
