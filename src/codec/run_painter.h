#pragma once
// Paints runs of pixels into one bitmap row, leftmost pixel in the most
// significant bit. Pixels at or past the width are never touched, so the pad
// bits of the last byte stay 0.

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillon {

// Sets pixels [start, end) of a row of rowBytes bytes to 1; start < end <= 8 * rowBytes.
inline void setPixels(std::uint8_t* row, std::uint32_t start, std::uint32_t end, std::uint32_t rowBytes) {
    // Most runs lie in one of the row's 64-pixel words: one read-modify-write
    // of that word, no byte loop. Whole words, not 8 bytes from the run's
    // first byte: the next run then reads the very word the last one wrote,
    // which the store buffer hands on, where two overlapping but different
    // 8-byte spans would stall until the first is written.
    const std::uint32_t word = start >> 6;
    if (((end - 1) >> 6) == word && word * 8 + 8 <= rowBytes) {
        std::uint64_t w;
        std::memcpy(&w, row + word * 8, 8);
        w |= __builtin_bswap64((~0ull >> (start & 63)) & (~0ull << (63 - ((end - 1) & 63))));
        std::memcpy(row + word * 8, &w, 8);
        return;
    }
    const std::uint32_t first = start >> 3;
    const std::uint32_t last = (end - 1) >> 3;
    const auto head = std::uint8_t(0xFFu >> (start & 7));
    const auto tail = std::uint8_t(0xFFu << (7 - ((end - 1) & 7)));
    if (first == last) {
        row[first] |= head & tail;
        return;
    }
    row[first] |= head;
    std::memset(row + first + 1, 0xFF, last - first - 1);
    row[last] |= tail;
}

// Paints the runs of a line into its raster row while they are decoded: runs
// of one colour (white with invert 0, black with invert 1) become 1 bits,
// clipped at the width. Painting as the decoder goes spares a second walk
// over the runs. A painter without a row paints nothing.
struct RunPainter {
    std::uint8_t* row = nullptr;
    std::uint32_t width = 0;
    std::uint32_t rowBytes = 0;
    int colour = 2;  // the colour painted; 2 paints none

    // Pixels [start, end) of a run of colour runColour (0 white, 1 black).
    [[gnu::always_inline]] void paint(std::int64_t start, std::int64_t end, int runColour) const {
        if (runColour != colour) return;
        const std::int64_t to = std::min<std::int64_t>(end, width);
        if (start < to) setPixels(row, std::uint32_t(start), std::uint32_t(to), rowBytes);
    }
    // Clears the row again when its line is not kept.
    void clear() const {
        if (row) std::memset(row, 0, rowBytes);
    }
};

}  // namespace quillon
