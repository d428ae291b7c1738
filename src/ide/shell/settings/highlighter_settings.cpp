#include "shell/settings/highlighter_settings.h"

#include "shell/settings/ide_settings.h"

namespace korvo {

void LoadHighlighterAttributes(const ISettingsStore& settings,
                               std::vector<TSynHighlighterAttribute>& attributes) {
    for (auto& attribute : attributes) {
        auto stored = settings::LoadAttribute(settings, attribute.Name);
        if (stored.Foreground) attribute.Foreground = static_cast<TColor>(*stored.Foreground);
        if (stored.Background) attribute.Background = static_cast<TColor>(*stored.Background);
        if (stored.Style) attribute.Style = static_cast<std::uint8_t>(*stored.Style & 0x0F);
    }
}

void SaveHighlighterAttributes(ISettingsStore& settings,
                               const std::vector<TSynHighlighterAttribute>& attributes) {
    for (const auto& attribute : attributes)
        settings::StoreAttribute(settings, attribute.Name,
                                 {static_cast<std::int32_t>(attribute.Foreground),
                                  static_cast<std::int32_t>(attribute.Background),
                                  attribute.Style});
}

} // namespace korvo
