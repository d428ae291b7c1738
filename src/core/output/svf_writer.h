#pragma once

#include "common/log.h"
#include "common/settings.h"
#include "output/code_words.h"

#include <string>

namespace korvo {

// Writes the SVF file that checks the JTAG scan chain and the target's
// IDCODE, selects its USER1 instruction and shifts one data record per code
// word. The chain comes from the settings at every call. Returns false when
// the chain settings cannot be read: that failure is logged, no file is
// written and the assembly run ends there. A register too narrow for the
// core's words or addresses is logged as a failure, no file is written, and
// the result is true.
bool WriteSvfFile(const TCodeWords& words, const std::string& fileName,
                  const ISettingsStore& settings, ILog& log);

} // namespace korvo
