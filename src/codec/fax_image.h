#pragma once
// A decoded fax page and the codes that name how its source data were coded.

#include <cstdint>
#include <vector>

namespace quillon {

// How a page's source data are coded (one byte, kept in FaxImage and handed to
// the TIFF writer, which maps it to the TIFF Compression field).
enum class ImageCoding : std::uint8_t {
    Uncompressed = 1,         // TIFF Compression 1
    ModifiedHuffman = 3,      // lines byte-aligned, no EOL; Compression 2
    ModifiedHuffmanWord = 4,  // lines on 16-bit boundaries; Compression 32771
    T4OneDimensional = 5,     // EOL before each line; Compression 3
    T4TwoDimensional = 6,     // EOL and tag bit; Compression 3 with 2D
    T6 = 7,                   // Compression 4
    PackBits = 8,             // Compression 32773
    // Pages of other inputs, decoded to rows before they are coded again.
    Lzw = 9,             // TIFF Compression 5
    OtherTiff = 10,      // another TIFF compression that libtiff decodes
    PcxRunLength = 11,   // the run-length coding of PCX pages (DCX files)
};

// One decoded page. Rows hold one bit per pixel, leftmost pixel in the most
// significant bit; with invert 0 white pixels are 1 bits. The bitmap holds
// rows * bytesPerRow bytes, or nothing when the page was only counted.
struct FaxImage {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint32_t bytesPerRow = 0;
    std::uint32_t sourceLength = 0;
    std::uint16_t xResolution = 0;
    std::uint16_t yResolution = 0;
    std::uint8_t resolutionUnit = 0;
    std::uint8_t fillOrder = 0;
    ImageCoding coding{};
    std::uint8_t paperCode = 0;
    std::uint8_t invert = 0;
    std::vector<std::uint8_t> bitmap;

    const std::uint8_t* row(std::uint32_t index) const { return bitmap.data() + std::size_t(index) * bytesPerRow; }
};

}  // namespace quillon
