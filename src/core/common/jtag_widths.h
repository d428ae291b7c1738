#pragma once

namespace korvo {

// The widths of the target's JTAG data register that the settings offer:
// the data width is 8 or 16 bits, the address width 16 to 19 bits, an odd
// one with the 8-bit data width and an even one with the 16-bit data width.
inline constexpr int kJtagNarrowDataWidth = 8;
inline constexpr int kJtagWideDataWidth = 16;
inline constexpr int kJtagMinAddressWidth = 16;
inline constexpr int kJtagMaxAddressWidth = 19;

constexpr bool JtagWidthsGoTogether(int dataWidth, int addressWidth) {
    return (dataWidth == kJtagNarrowDataWidth || dataWidth == kJtagWideDataWidth) &&
           addressWidth >= kJtagMinAddressWidth && addressWidth <= kJtagMaxAddressWidth &&
           (addressWidth % 2 == 1) == (dataWidth == kJtagNarrowDataWidth);
}

} // namespace korvo
