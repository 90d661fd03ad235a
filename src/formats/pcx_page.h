#pragma once
// One PCX image of one bit per pixel, as a DCX file holds its pages: a
// 128-byte header, then rows coded in PCX run-length coding. A 1 bit is
// black: writers do not agree on the palette of such pages (ImageMagick
// writes the same bits under either order of black and white), so it is
// not read.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon {

struct PcxHeader {
    static constexpr std::size_t kSize = 128;

    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint16_t xResolution = 0;  // dots per inch; 0 when not given
    std::uint16_t yResolution = 0;
    std::uint16_t bytesPerLine = 0;

    // Parses a header; false, with why, when it is no PCX header of a
    // one-bit page of a fax page's size.
    static bool parse(std::span<const std::uint8_t, kSize> bytes, PcxHeader& header, std::string& why);
};

// Decodes the rows of a page from its coded data, one at a time; a run may
// go on into the next row, as some writers let it.
class PcxRows {
public:
    PcxRows(std::span<const std::uint8_t> data, std::uint16_t bytesPerLine) : data_(data), row_(bytesPerLine) {}
    // The next row, or nullptr when the data end before it is complete.
    const std::uint8_t* next();

private:
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
    std::vector<std::uint8_t> row_;
    std::uint8_t runValue_ = 0;
    std::size_t runLeft_ = 0;
};

}  // namespace quillon
