#pragma once
// A Group 4 page decoded into the pixels text recognition reads: one bit per
// pixel, white as 1, leftmost pixel in the most significant bit.

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

struct PagePixels {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint32_t bytesPerRow = 0;
    // Pixels per inch both ways: a standard-resolution fax has half as many
    // rows per inch as columns, and each of its rows appears twice here, as
    // recognition reads letters best with square pixels.
    std::uint32_t dpi = 0;
    std::vector<std::uint8_t> bits;
};

// The largest page recognised, in pixels as repeated: a fax page at fine
// resolution has about four million; a header may claim far more.
inline constexpr std::uint64_t kMaxRecognizedPixels = 40'000'000;

// Decodes coded data (T.6, most significant bit first, no flag bytes, coded
// black as black) of a page of width x rows at xDpi x yDpi. Nothing when the page is too large to
// recognise or its resolution unusable; lines that do not decode stay white.
std::optional<PagePixels> decodeForRecognition(const std::vector<std::uint8_t>& coded, std::uint32_t width,
                                               std::uint32_t rows, double xDpi, double yDpi);

}  // namespace quillon
