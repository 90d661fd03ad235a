#include "formats/pcx_page.h"

#include <algorithm>

#include "formats/little_endian.h"
#include "formats/palette_brightness.h"

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

constexpr std::uint8_t kManufacturer = 0x0A;
constexpr std::uint8_t kRunLengthCoded = 1;
constexpr std::size_t kPlanesAt = 65;
constexpr std::size_t kColoursAt = 16;
constexpr std::uint16_t kLeastResolution = 50;
constexpr std::uint16_t kMostResolution = 1200;
// ImageMagick's palette after a page: a mark byte, then 256 colours.
constexpr std::uint8_t kPaletteMark = 0x0C;
constexpr std::size_t kPaletteSize = 1 + 256 * 3;

}  // namespace

bool PcxHeader::parse(std::span<const std::uint8_t, kSize> bytes, PcxHeader& header, std::string& why) {
    const std::uint8_t* h = bytes.data();
    if (h[0] != kManufacturer || h[2] != kRunLengthCoded) {
        why = "no PCX image";
        return false;
    }
    const unsigned bits = h[3] * h[kPlanesAt];
    if (bits != 1) {
        why = "a PCX image of " + std::to_string(bits) + " bits per pixel, not a black-and-white fax page";
        return false;
    }
    const std::uint16_t xMin = loadU16(h + 4), yMin = loadU16(h + 6), xMax = loadU16(h + 8), yMax = loadU16(h + 10);
    header.width = xMax >= xMin ? std::uint32_t(xMax - xMin) + 1 : 0;
    header.rows = yMax >= yMin ? std::uint32_t(yMax - yMin) + 1 : 0;
    header.xResolution = loadU16(h + 12);
    header.yResolution = loadU16(h + 14);
    header.bytesPerLine = loadU16(h + 66);
    std::copy_n(h + kColoursAt, header.colours.size(), header.colours.begin());
    const auto& c = header.colours;
    const unsigned zero = brightness(c[0], c[1], c[2]), one = brightness(c[3], c[4], c[5]);
    header.ones = one < zero ? PcxOnes::Black : PcxOnes::White;
    if (header.width == 0 || header.width > kMaxPageWidth || header.rows > kMaxPageRows ||
        header.bytesPerLine < (header.width + 7) / 8) {
        why = "a PCX image whose size (" + std::to_string(header.width) + " x " + std::to_string(header.rows) +
              " pixels, " + std::to_string(header.bytesPerLine) + " bytes a row) is no fax page's";
        return false;
    }
    return true;
}

bool PcxHeader::resolutionPlausible() const {
    if (xResolution == 0 && yResolution == 0) return true;
    const auto inRange = [](std::uint16_t dpi) { return dpi >= kLeastResolution && dpi <= kMostResolution; };
    const bool pageSize = xResolution == width && yResolution == rows;
    return inRange(xResolution) && (yResolution == 0 || inRange(yResolution)) && !pageSize;
}

PcxOnes pcxOnes(const PcxHeader& header, std::span<const std::uint8_t> pageData) {
    if (pageData.size() >= kPaletteSize) {
        const auto palette = pageData.last(kPaletteSize);
        if (palette[0] == kPaletteMark && std::equal(header.colours.begin(), header.colours.end(), palette.begin() + 1))
            return PcxOnes::Black;
    }
    return header.ones;
}

const std::uint8_t* PcxRows::next() {
    for (std::uint8_t& byte : row_) {
        while (runLeft_ == 0) {
            if (at_ >= data_.size()) return nullptr;
            const std::uint8_t code = data_[at_++];
            if ((code & 0xC0) != 0xC0) {
                runValue_ = code;
                runLeft_ = 1;
                break;
            }
            if (at_ >= data_.size()) return nullptr;
            runLeft_ = code & 0x3F;  // a run of none gives no byte
            runValue_ = data_[at_++];
        }
        byte = runValue_;
        --runLeft_;
    }
    return row_.data();
}

}  // namespace quillon
