#pragma once
// Writes runs of pixels into one bitmap row, leftmost pixel in the most
// significant bit. Pixels at or past the width are never touched, so the pad
// bits of the last byte stay 0.

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillon {

struct RowWriter {
    std::uint8_t* row = nullptr;
    std::uint32_t width = 0;     // pixels the row can hold
    std::uint32_t position = 0;  // next pixel; may pass the width, nothing is written there

    void start(std::uint8_t* rowBytes, std::uint32_t rowWidth) {
        row = rowBytes;
        width = rowWidth;
        position = 0;
    }
};

// Sets pixels [start, end) of a row of rowBytes bytes to 1; start < end <= 8 * rowBytes.
inline void setPixels(std::uint8_t* row, std::uint32_t start, std::uint32_t end, std::uint32_t rowBytes) {
    const std::uint32_t first = start >> 3;
    const std::uint32_t span = end - first * 8;  // bits from the first byte's start, at least 1
    if (span <= 64 && first + 8 <= rowBytes) {
        // Most runs fit one 64-bit word: one read-modify-write, no byte loop.
        std::uint64_t w;
        std::memcpy(&w, row + first, 8);
        w |= __builtin_bswap64((~0ull >> (start & 7)) & (~0ull << (64 - span)));
        std::memcpy(row + first, &w, 8);
        return;
    }
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

// Writes a run of length pixels at the writer's position: set to 1 when clear
// is false, only skipped otherwise. Returns 0, or -1 when part of the run fell
// past the width (the part that fits is still written).
inline int putRun(RowWriter& writer, std::uint32_t length, bool clear) {
    const std::uint32_t start = writer.position;
    const std::uint64_t end = std::uint64_t(start) + length;
    const bool clipped = end > writer.width;
    const std::uint32_t fits = clipped ? writer.width : std::uint32_t(end);
    if (!clear && start < fits) setPixels(writer.row, start, fits, (writer.width + 7) / 8);
    writer.position = end > 0xFFFFFFFFu ? 0xFFFFFFFFu : std::uint32_t(end);
    return clipped ? -1 : 0;
}

// Draws the runs of a line from the writer's position, the first run white;
// with invert 0 white runs are set to 1 bits, with invert 1 black runs.
// Drawing stops at the width; the writer then stands at or past it, or
// behind the last run.
inline void drawRuns(RowWriter& writer, const std::uint32_t* runs, std::uint32_t count, int invert) {
    const std::uint64_t width = writer.width;
    const std::uint32_t rowBytes = (writer.width + 7) / 8;
    std::uint64_t x = writer.position;
    std::uint32_t i = 0;
    if (invert) {
        if (count == 0) return;
        x += runs[0];
        i = 1;
    }
    // Every other run is drawn, the runs between are stepped over.
    for (; i < count && x < width; i += 2) {
        const std::uint64_t end = x + runs[i];
        const std::uint64_t to = std::min(end, width);
        if (x < to) setPixels(writer.row, std::uint32_t(x), std::uint32_t(to), rowBytes);
        x = end + (i + 1 < count ? runs[i + 1] : 0);
    }
    writer.position = std::uint32_t(std::min<std::uint64_t>(x, 0xFFFFFFFFu));
}

}  // namespace quillon
