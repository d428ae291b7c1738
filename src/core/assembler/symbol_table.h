#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace korvo {

// What a name stands for; also the kind of an evaluated operand.
enum TSymbolKind : std::uint8_t {
    skNone = 0,
    skNumber = 1,
    skDevice = 2,
    skExpression = 3,
    skMnemonic = 4,
    skRegister = 5,
    skDirective = 6,
    skLabel = 7,
    skCondition = 8,
    skInterruptOption = 9,
};

// A symbol's value packed into 32 bits: value in bits 0-17 (masked to 18
// bits first, so a wide value never alters the other fields), kind in bits
// 18-23, operand format of a mnemonic in bits 24-31.
using TSymbolValue = std::uint32_t;

inline constexpr std::uint32_t kSymbolValueMask = 0x3FFFF;

constexpr TSymbolValue PackSymbolValue(std::int64_t value, TSymbolKind kind, int format = 0) {
    return (static_cast<std::uint32_t>(value) & kSymbolValueMask) |
           (static_cast<std::uint32_t>(kind & 0x3F) << 18) |
           (static_cast<std::uint32_t>(format & 0xFF) << 24);
}
constexpr std::int32_t SymbolValueOf(TSymbolValue packed) {
    return static_cast<std::int32_t>(packed & kSymbolValueMask);
}
constexpr TSymbolKind SymbolKindOf(TSymbolValue packed) {
    return static_cast<TSymbolKind>((packed >> 18) & 0x3F);
}
constexpr int SymbolFormatOf(TSymbolValue packed) {
    return static_cast<int>(packed >> 24);
}

// Raised when a name is entered twice.
class EDuplicateSymbol : public std::runtime_error {
public:
    explicit EDuplicateSymbol(const std::string& name) : std::runtime_error(name) {}
};

// The names of one assembly run. Names are compared without regard to
// letter case; a name can be entered only once.
class TSymbolTable {
public:
    // Throws EDuplicateSymbol when the name is already there.
    void Add(std::string_view name, TSymbolValue value);
    std::optional<TSymbolValue> Find(std::string_view name) const;
    bool Contains(std::string_view name) const { return Find(name).has_value(); }
    std::size_t Count() const { return symbols_.size(); }
    void Clear() { symbols_.clear(); }

private:
    struct TCaseInsensitiveHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const;
    };
    struct TCaseInsensitiveEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::unordered_map<std::string, TSymbolValue, TCaseInsensitiveHash, TCaseInsensitiveEqual>
        symbols_;
};

// ASCII upper case, the spelling names are entered with.
std::string UpperCase(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

} // namespace korvo
