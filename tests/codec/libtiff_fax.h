#pragma once
// Fax pages coded and decoded by libtiff, the independent codec the tests
// compare against.

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

enum class LibtiffCoding {
    ModifiedHuffman,      // Compression 2
    ModifiedHuffmanWord,  // Compression 32771
    T4OneDimensional,     // Compression 3, T4Options 0
    T4OneDimensionalFill, // Compression 3, T4Options 4: EOLs byte-aligned
    T4TwoDimensional,     // Compression 3, T4Options 1
    T6,                   // Compression 4
};

// A page's coded strip and libtiff's own decoding of it (1 = black, rows
// padded to whole bytes).
struct LibtiffPage {
    unsigned width = 0;
    unsigned rows = 0;
    std::vector<std::uint8_t> coded;
    std::vector<std::uint8_t> pixels;
    std::size_t bytesPerRow() const { return (width + 7) / 8; }
};

// Codes pixels (1 = black, rows padded to whole bytes) as one strip with
// libtiff in the given coding and fill order, then reads the strip back raw
// and decoded. Fails the current test on libtiff errors.
LibtiffPage codeWithLibtiff(const std::vector<std::uint8_t>& pixels, unsigned width, unsigned rows,
                            LibtiffCoding coding, int fillOrder);

// libtiff's decoding (1 = black) of a page of T.6 strips, fill order 2, each
// strip holding rowsPerStrip rows (the last one the rest).
std::vector<std::uint8_t> decodeT6StripsWithLibtiff(const std::vector<std::vector<std::uint8_t>>& strips,
                                                    unsigned width, unsigned rows, unsigned rowsPerStrip);

// The single strip of the first page of a bilevel TIFF file, raw and (when
// decode is set) decoded.
LibtiffPage readLibtiffStrip(const std::string& path, bool decode = true);

}  // namespace quillon::test
