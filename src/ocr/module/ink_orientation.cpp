#include "ocr/module/ink_orientation.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace quillon {

namespace {

// A printed line of type from 6 to 72 points is this tall, in inches; taller
// bands of ink are pictures, smaller ones specks and rules.
constexpr double kShortestLine = 0.04;
constexpr double kTallestLine = 0.75;
// Rows of a line with at least this share of its inkiest row's ink are its
// x-height band.
constexpr double kCoreShare = 0.4;

// Black pixels in each row (white is 1; padding bits past the width left out).
std::vector<std::uint32_t> inkPerRow(const PagePixels& pixels) {
    std::vector<std::uint32_t> ink(pixels.rows, 0);
    const std::uint32_t tail = pixels.width % 8;
    const std::uint8_t lastMask = tail == 0 ? 0xFF : std::uint8_t(0xFF << (8 - tail));
    const std::uint32_t fullBytes = std::min(pixels.width / 8, pixels.bytesPerRow);
    for (std::uint32_t row = 0; row < pixels.rows; ++row) {
        const std::uint8_t* bits = pixels.bits.data() + std::size_t(row) * pixels.bytesPerRow;
        std::uint32_t count = 0;
        for (std::uint32_t i = 0; i < fullBytes; ++i) count += std::uint32_t(std::popcount(std::uint8_t(~bits[i])));
        if (tail != 0 && fullBytes < pixels.bytesPerRow)
            count += std::uint32_t(std::popcount(std::uint8_t(~bits[fullBytes] & lastMask)));
        ink[row] = count;
    }
    return ink;
}

}  // namespace

bool inkLooksUpsideDown(const PagePixels& pixels) {
    if (pixels.width == 0 || pixels.rows == 0 || pixels.dpi == 0 ||
        pixels.bits.size() < std::size_t(pixels.rows) * pixels.bytesPerRow)
        return false;
    const std::vector<std::uint32_t> ink = inkPerRow(pixels);
    const auto shortest = std::uint32_t(kShortestLine * pixels.dpi);
    const auto tallest = std::uint32_t(kTallestLine * pixels.dpi);
    int lines = 0;
    std::uint64_t above = 0, below = 0;
    for (std::uint32_t row = 0; row < pixels.rows;) {
        if (ink[row] == 0) {
            ++row;
            continue;
        }
        const std::uint32_t top = row;
        while (row < pixels.rows && ink[row] != 0) ++row;
        if (row - top < shortest || row - top > tallest) continue;
        const auto first = ink.begin() + top, last = ink.begin() + row;
        const double core = *std::max_element(first, last) * kCoreShare;
        const auto coreTop = std::find_if(first, last, [&](std::uint32_t n) { return n >= core; });
        const auto coreBottom = std::find_if(std::make_reverse_iterator(last), std::make_reverse_iterator(first),
                                             [&](std::uint32_t n) { return n >= core; }).base();
        for (auto it = first; it != coreTop; ++it) above += *it;
        for (auto it = coreBottom; it != last; ++it) below += *it;
        ++lines;
    }
    return lines >= kInkLinesNeeded && double(below) > kTurnedInkRatio * double(above);
}

}  // namespace quillon
