#include "codec/white_page.h"

namespace quillon {

std::vector<std::uint8_t> whitePageT6LsbFirst(std::uint32_t rows) {
    constexpr std::uint32_t kEolBits = 12;  // eleven 0 bits and a 1
    const std::uint64_t bits = std::uint64_t(rows) + 2 * kEolBits;
    std::vector<std::uint8_t> data((bits + 7) / 8, 0);
    auto setBit = [&](std::uint64_t at) { data[at / 8] |= std::uint8_t(1u << (at % 8)); };
    for (std::uint64_t line = 0; line < rows; ++line) setBit(line);
    setBit(rows + kEolBits - 1);
    setBit(rows + 2 * kEolBits - 1);
    return data;
}

}  // namespace quillon
