#include "common/core_options.h"

#include <algorithm>
#include <charconv>

namespace korvo {

TCoreOptions DefaultCoreOptions(TCoreKind kind) {
    const TCoreDescription& core = CoreDescription(kind);
    return {core.CodeSize, core.InterruptVector, 0, kDefaultBuildScratchPadSize};
}

TCoreOptions EffectiveCoreOptions(TCoreKind kind, const TCoreOptions& chosen) {
    const TCoreDescription& core = CoreDescription(kind);
    TCoreOptions options = DefaultCoreOptions(kind);
    if (!core.HasBuildOptions) return options;
    if (core.IsProgramSize(chosen.ProgramSize)) options.ProgramSize = chosen.ProgramSize;
    if (chosen.InterruptVector >= 0 && chosen.InterruptVector < core.CodeSize)
        options.InterruptVector = chosen.InterruptVector;
    if (chosen.HwBuild >= 0 && chosen.HwBuild <= 0xFF) options.HwBuild = chosen.HwBuild;
    if (std::ranges::find(kBuildScratchPadSizes, chosen.ScratchPadSize) !=
        std::end(kBuildScratchPadSizes))
        options.ScratchPadSize = chosen.ScratchPadSize;
    return options;
}

std::optional<int> ParseProgramSize(std::string_view text) {
    int multiplier = 1;
    if (!text.empty() && (text.back() == 'K' || text.back() == 'k')) {
        multiplier = 1024;
        text.remove_suffix(1);
    }
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value <= 0 ||
        value > (1 << 20) / multiplier)
        return std::nullopt;
    return value * multiplier;
}

std::string ProgramSizeText(int words) {
    return words > 0 && words % 1024 == 0 ? std::to_string(words / 1024) + "K"
                                          : std::to_string(words);
}

} // namespace korvo
