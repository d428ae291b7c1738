#include "text/format_columns.h"

#include "common/settings_layout.h"

#include <array>

namespace korvo {

namespace {
using settings::kColumnNames;
using settings::kColumnsKey;

bool InRange(std::int32_t column) {
    return column >= 0 && column <= kMaxFormatColumn;
}

TFormatColumns FromArray(const std::array<int, 3>& values) {
    return {values[0], values[1], values[2]};
}
} // namespace

TFormatColumns ReadFormatColumns(const ISettingsStore& store) {
    std::array<int, 3> values{};
    for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
        auto text = store.ReadValue(kColumnsKey, kColumnNames[i]);
        auto value = text ? ParseInteger(*text) : std::nullopt;
        if (!value || !InRange(*value)) return TFormatColumns{};
        values[i] = *value;
    }
    return FromArray(values);
}

void WriteFormatColumns(ISettingsStore& store, const TFormatColumns& columns) {
    WriteInteger(store, kColumnsKey, kColumnNames[0], columns.Column1);
    WriteInteger(store, kColumnsKey, kColumnNames[1], columns.Column2);
    WriteInteger(store, kColumnsKey, kColumnNames[2], columns.Column3);
}

std::optional<TFormatColumns> ParseFormatColumns(std::string_view text) {
    std::array<int, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::size_t comma = text.find(',');
        bool last = i + 1 == values.size();
        if (last != (comma == std::string_view::npos)) return std::nullopt;
        std::string_view field = text.substr(0, comma);
        // Only digits: no sign, no blanks.
        if (field.empty() || field.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        auto value = ParseInteger(field);
        if (!value || !InRange(*value)) return std::nullopt;
        values[i] = *value;
        if (!last) text.remove_prefix(comma + 1);
    }
    return FromArray(values);
}

} // namespace korvo
