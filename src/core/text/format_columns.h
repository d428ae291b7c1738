#pragma once

#include "common/settings.h"

#include <optional>
#include <string_view>

namespace korvo {

// The three column positions of the formatter: mnemonics and directives start
// at Column1, their operands at Column2, comments after code at Column3
// (character indexes counted from 0).
struct TFormatColumns {
    int Column1 = 20;
    int Column2 = 30;
    int Column3 = 50;

    bool operator==(const TFormatColumns&) const = default;
};

// Column positions beyond this are not padded to: a stray huge value must not
// turn every line into megabytes of blanks.
inline constexpr int kMaxFormatColumn = 1000;

// The stored "Columns" values. When any of the three is missing, unreadable
// or outside 0 to kMaxFormatColumn, all three take their defaults.
TFormatColumns ReadFormatColumns(const ISettingsStore& store);

void WriteFormatColumns(ISettingsStore& store, const TFormatColumns& columns);

// Parses "C1,C2,C3": three decimal numbers from 0 to kMaxFormatColumn.
std::optional<TFormatColumns> ParseFormatColumns(std::string_view text);

} // namespace korvo
