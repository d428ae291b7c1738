#pragma once

#include "common/log.h"

#include <string>
#include <string_view>

namespace korvo {

// Writes the text as WriteFileBytes replaces a file. A failure becomes one
// "Failure: " line with its message; it never throws.
void SaveOutputText(const std::string& path, std::string_view text, ILog& log);

} // namespace korvo
