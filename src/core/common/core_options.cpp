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
    if (IsProgramSize(core, chosen.ProgramSize)) options.ProgramSize = chosen.ProgramSize;
    if (chosen.InterruptVector >= 0 && chosen.InterruptVector < core.CodeSize)
        options.InterruptVector = chosen.InterruptVector;
    if (chosen.HwBuild >= 0 && chosen.HwBuild <= 0xFF) options.HwBuild = chosen.HwBuild;
    if (IsBuildScratchPadSize(chosen.ScratchPadSize))
        options.ScratchPadSize = chosen.ScratchPadSize;
    return options;
}

bool IsBuildScratchPadSize(int bytes) {
    return std::ranges::find(kBuildScratchPadSizes, bytes) != std::end(kBuildScratchPadSizes);
}

const TCoreDescription& BuildOptionsCore() {
    for (const TCoreDescription& core : kCores)
        if (core.HasBuildOptions) return core;
    return CoreDescription(TCoreKind::none);
}

std::vector<int> ProgramSizes(const TCoreDescription& core) {
    std::vector<int> sizes;
    for (int size = core.SmallestCodeSize; size > 0 && size <= core.CodeSize; size *= 2)
        sizes.push_back(size);
    return sizes;
}

bool IsProgramSize(const TCoreDescription& core, int size) {
    const std::vector<int> sizes = ProgramSizes(core);
    return std::ranges::find(sizes, size) != sizes.end();
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
