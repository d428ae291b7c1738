#pragma once

#include "common/log.h"

#include <string>
#include <string_view>

namespace korvo {

// Replaces the file with the text in one step. A failure becomes one
// "Failure: " line with its message; it never throws.
void SaveOutputText(const std::string& path, std::string_view text, ILog& log);

} // namespace korvo
