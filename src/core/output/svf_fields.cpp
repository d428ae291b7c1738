#include "output/svf_fields.h"

namespace korvo {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";

std::uint64_t LowBits(std::uint64_t value, int bits) {
    return bits >= 64 ? value : value & ((std::uint64_t{1} << bits) - 1);
}
} // namespace

std::string HexBits(int bits, std::uint64_t value) {
    if (bits <= 0) return "0";
    value = LowBits(value, bits);
    const int digits = (bits + 3) / 4;
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = 0; i < digits && i < 16; ++i)
        text[static_cast<std::size_t>(digits - 1 - i)] = kDigits[(value >> (4 * i)) & 0xF];
    return text;
}

std::string OnesBits(int bits) {
    if (bits <= 0) return "0";
    const int digits = (bits + 3) / 4;
    std::string text(static_cast<std::size_t>(digits), 'F');
    text[0] = kDigits[(1 << (bits - 4 * (digits - 1))) - 1];
    return text;
}

std::uint64_t SvfDataRecord(std::uint32_t word, std::uint32_t address, int addressWidth,
                            int dataWidth, bool addressFirst) {
    const std::uint64_t data = word;
    const std::uint64_t place = address;
    return addressFirst ? place | (data << dataWidth) : data | (place << addressWidth);
}

} // namespace korvo
