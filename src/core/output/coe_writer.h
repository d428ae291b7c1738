#pragma once

#include "common/log.h"
#include "output/code_words.h"

#include <string>

namespace korvo {

// The coefficient file: a header, then one line of items per 8 words. Width
// 8 writes each word as its low and high byte, 16 as four digits, any other
// width as five digits. The last item ends with "; " instead of ", ".
std::string BuildCoeText(const TCodeWords& words, int width);

// Logs the COE line with the expanded path and saves the file.
void WriteCoeFile(const TCodeWords& words, const std::string& fileName, int width, ILog& log);

} // namespace korvo
