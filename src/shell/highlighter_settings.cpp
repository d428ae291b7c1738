#include "shell/highlighter_settings.h"

#include "common/settings.h"

namespace korvo {

namespace {
std::string AttributeKey(const TSynHighlighterAttribute& attribute) {
    return std::string(kAttributesKey) + "/" + attribute.Name;
}
} // namespace

void LoadHighlighterAttributes(const ISettingsStore& settings,
                               std::vector<TSynHighlighterAttribute>& attributes) {
    for (auto& attribute : attributes) {
        std::string key = AttributeKey(attribute);
        attribute.Foreground = static_cast<TColor>(ReadIntegerOr(
            settings, key, "Foreground", static_cast<std::int32_t>(attribute.Foreground)));
        attribute.Background = static_cast<TColor>(ReadIntegerOr(
            settings, key, "Background", static_cast<std::int32_t>(attribute.Background)));
        attribute.Style = static_cast<std::uint8_t>(
            ReadIntegerOr(settings, key, "Style", attribute.Style) & 0x0F);
    }
}

void SaveHighlighterAttributes(ISettingsStore& settings,
                               const std::vector<TSynHighlighterAttribute>& attributes) {
    for (const auto& attribute : attributes) {
        std::string key = AttributeKey(attribute);
        WriteInteger(settings, key, "Foreground", static_cast<std::int32_t>(attribute.Foreground));
        WriteInteger(settings, key, "Background", static_cast<std::int32_t>(attribute.Background));
        WriteInteger(settings, key, "Style", attribute.Style);
    }
}

} // namespace korvo
