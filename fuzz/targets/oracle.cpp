#include <atomic>
#include <cstdarg>
#include "oracle.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/private_temp_folder.h"
#include "support/memory_tiff.h"

namespace quillon::fuzz {

void oracleFailed(const std::string& what) {
    std::fprintf(stderr, "oracle failed: %s\n", what.c_str());
    std::abort();
}

const std::string& scratchFolder() {
    const std::string& folder = platform::privateTempFolder();
    expect(!folder.empty(), "no private temporary folder");
    return folder;
}

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    expect(bool(out.flush()), "cannot write " + path);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// libtiff's complaints while it decodes: any one makes its decoding no oracle.
std::atomic<bool> libtiffComplained{false};
void complain(const char*, const char*, va_list) { libtiffComplained = true; }

std::vector<std::uint8_t> decodeWithLibtiff(const FaxStrips& coded) {
    TIFFSetWarningHandler(complain);
    TIFFSetErrorHandler(complain);
    test::MemoryTiff file;
    TIFF* out = test::openMemory(file, "w");
    if (!out) return {};
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, coded.width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, coded.rows);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(out, TIFFTAG_FILLORDER, coded.fillOrder == 1 ? FILLORDER_MSB2LSB : FILLORDER_LSB2MSB);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, coded.rowsPerStrip);
    TIFFSetField(out, TIFFTAG_COMPRESSION, coded.compression);
    if (coded.compression == COMPRESSION_CCITTFAX3) TIFFSetField(out, TIFFTAG_GROUP3OPTIONS, coded.group3Options);
    bool written = true;
    for (std::size_t i = 0; i < coded.strips.size(); ++i) {
        const auto strip = coded.strips[i];
        written = written && TIFFWriteRawStrip(out, std::uint32_t(i), const_cast<std::uint8_t*>(strip.data()),
                                               tmsize_t(strip.size())) == tmsize_t(strip.size());
    }
    TIFFClose(out);
    if (!written) return {};

    libtiffComplained = false;
    TIFF* in = test::openMemory(file, "r");
    if (!in) return {};
    const std::size_t bytesPerRow = coded.bytesPerRow();
    std::vector<std::uint8_t> pixels(bytesPerRow * coded.rows, 0);
    bool decoded = true;
    for (std::size_t i = 0; i < coded.strips.size() && decoded; ++i) {
        const std::size_t first = i * coded.rowsPerStrip;
        const std::size_t bytes = std::min<std::size_t>(coded.rowsPerStrip, coded.rows - first) * bytesPerRow;
        decoded = TIFFReadEncodedStrip(in, std::uint32_t(i), pixels.data() + first * bytesPerRow, tmsize_t(bytes)) ==
                  tmsize_t(bytes);
    }
    TIFFClose(in);
    if (!decoded || libtiffComplained) return {};
    const unsigned padBits = unsigned(bytesPerRow * 8 - coded.width);
    for (std::uint32_t row = 0; row < coded.rows; ++row)
        pixels[(row + 1) * bytesPerRow - 1] &= std::uint8_t(0xFF << padBits);
    return pixels;
}

int tiffImageCount(const std::string& path) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return -1;
    // Walked as a reader (and the copier) walks them: TIFFNumberOfDirectories
    // gives 0 for a file whose link after its last image cannot be read.
    int count = 1;
    while (TIFFReadDirectory(tif)) ++count;
    TIFFClose(tif);
    return count;
}

}  // namespace quillon::fuzz
