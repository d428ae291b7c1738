#pragma once

#include "common/core_kind.h"

namespace korvo {

// The Settings menu command that selects a core: its action name and the hint
// the status bar shows. The caption is the core's title.
struct TCoreMenuEntry {
    const char* ActionName;
    const char* Hint;
};

// The entry of a core; empty texts for no core.
TCoreMenuEntry CoreMenuEntry(TCoreKind kind);

} // namespace korvo
