#pragma once
// What the fuzz targets share: failing an oracle, their scratch folder and
// libtiff's view of a TIFF file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon::fuzz {

// Prints what the oracle expected and aborts, so that libFuzzer keeps the
// input and the replay driver fails.
[[noreturn]] void oracleFailed(const std::string& what);
inline void expect(bool holds, const std::string& what) {
    if (!holds) oracleFailed(what);
}

// The program's private temporary folder (with its trailing '/'), where the
// targets put their inputs and outputs; made once, removed at exit.
const std::string& scratchFolder();

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string readBytes(const std::string& path);

// Fax data as TIFF strips: rows of width pixels, rowsPerStrip to a strip
// (the last one the rest), compression 3 (with group3Options) or 4.
struct FaxStrips {
    std::vector<std::span<const std::uint8_t>> strips;
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint32_t rowsPerStrip = 0;
    std::uint16_t compression = 4;
    std::uint32_t group3Options = 0;
    std::uint8_t fillOrder = 1;
    std::size_t bytesPerRow() const { return (std::size_t(width) + 7) / 8; }
};

// libtiff's decoding of the strips (1 = black, pad bits 0), or nothing when
// libtiff reports an error or a warning on any of them.
std::vector<std::uint8_t> decodeWithLibtiff(const FaxStrips& coded);

// The number of images libtiff reads from a file one after the other, or -1
// when it cannot open it.
int tiffImageCount(const std::string& path);

}  // namespace quillon::fuzz
