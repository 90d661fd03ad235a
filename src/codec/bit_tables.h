#pragma once
// Byte lookup tables of the bit input, built at compile time.

#include <array>
#include <cstdint>

namespace quillon::bit_tables {

// Each byte with its bit order reversed (fill order 2 data).
inline constexpr std::array<std::uint8_t, 256> kReversed = [] {
    std::array<std::uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        int r = 0;
        for (int i = 0; i < 8; ++i) r |= ((b >> i) & 1) << (7 - i);
        t[b] = std::uint8_t(r);
    }
    return t;
}();

// Zero bits before the first one bit, from the most significant end; 8 for 0.
inline constexpr std::array<std::uint8_t, 256> kLeadingZeros = [] {
    std::array<std::uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        int n = 0;
        while (n < 8 && !(b & (0x80 >> n))) ++n;
        t[b] = std::uint8_t(n);
    }
    return t;
}();

// Trailing zero bits of a nibble; 4 for 0. A byte's count takes the low
// nibble's, or 4 plus the high nibble's when the low nibble is 0.
inline constexpr std::array<std::uint8_t, 16> kNibbleTrailingZeros = {4, 0, 1, 0, 2, 0, 1, 0, 3, 0, 1, 0, 2, 0, 1, 0};

constexpr int trailingZeros(std::uint8_t b) {
    const int low = b & 0x0F;
    return low ? kNibbleTrailingZeros[low] : 4 + kNibbleTrailingZeros[b >> 4];
}

}  // namespace quillon::bit_tables
