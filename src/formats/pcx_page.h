#pragma once
// One PCX image of one bit per pixel, as a DCX file holds its pages: a
// 128-byte header, then rows coded in PCX run-length coding.
//
// What a 1 bit stands for: the header's palette says it when its first two
// colours differ (the darker is black, as in a BMP file). When they are the
// same (Pillow writes two blacks, many writers leave the palette empty), a
// 1 bit is white, as PC Paintbrush showed one-bit images and as netpbm,
// Pillow and Ghostscript write and read them. ImageMagick 6.9.11 (and the
// versions around it) writes black as 1 whatever its palette says, and reads
// its pages so; its pages are told by the 256-colour palette it appends to
// every page (which the format gives only 8-bit images), and read its way.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon {

enum class PcxOnes : std::uint8_t { White, Black };

struct PcxHeader {
    static constexpr std::size_t kSize = 128;
    // The palette's first two colours, three bytes (red, green, blue) each.
    using Colours = std::array<std::uint8_t, 6>;

    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint16_t xResolution = 0;  // dots per inch as given; 0 when not given
    std::uint16_t yResolution = 0;
    std::uint16_t bytesPerLine = 0;
    Colours colours{};
    PcxOnes ones = PcxOnes::White;  // by the palette

    // Parses a header; false, with why, when it is no PCX header of a
    // one-bit page of a fax page's size.
    static bool parse(std::span<const std::uint8_t, kSize> bytes, PcxHeader& header, std::string& why);

    // The resolution given can be a fax's: both fields 0 (not given), or
    // between 50 and 1200 dpi and not the page's size in pixels (netpbm
    // writes the width and height there).
    bool resolutionPlausible() const;
};

// What a 1 bit of a page stands for, given the page's bytes after its header
// up to where the next page starts (or the file ends).
PcxOnes pcxOnes(const PcxHeader& header, std::span<const std::uint8_t> pageData);

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
