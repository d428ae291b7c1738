#pragma once

namespace korvo {

// How many panels the simulation views place side by side before they start
// a new column or row. The settings dialog's Layout page sets them for the
// running program; they are not stored.
struct TPanelLimits {
    static constexpr int kDefaultIoPanelsVertical = 10;
    static constexpr int kDefaultMemoryPanelsHorizontal = 4;
    static constexpr int kMinIoPanelsVertical = 2;
    static constexpr int kMaxIoPanelsVertical = 32;
    static constexpr int kMinMemoryPanelsHorizontal = 2;
    static constexpr int kMaxMemoryPanelsHorizontal = 16;

    // Input, output and LED panels stacked vertically.
    int IoPanelsVertical = kDefaultIoPanelsVertical;
    // Scratch pad and RAM/ROM panels placed horizontally.
    int MemoryPanelsHorizontal = kDefaultMemoryPanelsHorizontal;

    bool operator==(const TPanelLimits&) const = default;
};

// The limits of this process.
inline TPanelLimits& ProcessPanelLimits() {
    static TPanelLimits limits;
    return limits;
}

} // namespace korvo
