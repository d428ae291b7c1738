#pragma once

#include "output/bram.h"
#include "output/output_requests.h"

#include <optional>
#include <string>
#include <vector>

namespace korvo {

// What the directives of the last assembly asked for: the outputs (the VHDL
// entity name is kept from one assembly to the next) and the rest below.
struct TDirectiveState : TOutputRequests {
    // DEFJUMP: every word the program leaves unused becomes a JUMP to this
    // address; the directive's line (from 1) is the line of those words.
    std::optional<int> DefaultJump;
    int DefaultJumpLine = -1;
    // Include files as found (relative names taken in SourceDirectory), in
    // the order the directives named them, each once.
    std::vector<std::string> IncludeFiles;
    TBRAMList BlockRAMs;
    // The source file's directory, ending in a separator; file names without
    // a directory part are taken in it.
    std::string SourceDirectory;
};

} // namespace korvo
