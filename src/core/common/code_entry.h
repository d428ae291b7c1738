#pragma once

#include <cstdint>

namespace korvo {

// One word of a code image.
struct TCodeEntry {
    bool HasCode = false;
    bool Executed = false;
    std::int32_t Line = -1; // 1-based source line, -1 for none
    std::uint32_t Word = 0; // the core's 16 or 18 bits
    friend bool operator==(const TCodeEntry&, const TCodeEntry&) = default;
};

} // namespace korvo
