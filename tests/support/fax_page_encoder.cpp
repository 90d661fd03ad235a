#include "support/fax_page_encoder.h"

#include <tiffio.h>

#include <cstring>

#include "support/memory_tiff.h"

namespace quillon::test {

namespace {

bool writePage(MemoryTiff& m, const std::uint8_t* bits, unsigned width, unsigned rows, FaxPageCoding coding) {
    TIFF* tif = openMemory(m, "w");
    if (!tif) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, rows);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);  // 1 bits are black
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows);
    if (coding == FaxPageCoding::T6) {
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    } else {
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        const int dimensions = coding == FaxPageCoding::T4TwoDimensional ? GROUP3OPT_2DENCODING : 0;
        const int fillBits = coding == FaxPageCoding::T4NoFillBits ? 0 : GROUP3OPT_FILLBITS;
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, fillBits | dimensions);
    }
    const std::size_t stride = (width + 7) / 8;
    std::vector<std::uint8_t> line(stride);
    bool ok = true;
    for (unsigned r = 0; r < rows && ok; ++r) {
        std::memcpy(line.data(), bits + r * stride, stride);  // libtiff may scribble on the row it codes
        ok = TIFFWriteScanline(tif, line.data(), r, 0) >= 0;
    }
    TIFFClose(tif);
    return ok;
}

}  // namespace

std::vector<std::uint8_t> encodeFaxPage(const std::uint8_t* bits, unsigned width, unsigned rows,
                                        FaxPageCoding coding) {
    if (width == 0 || rows == 0) return {};
    MemoryTiff m;
    if (!writePage(m, bits, width, rows, coding)) return {};
    TIFF* tif = openMemory(m, "r");
    if (!tif) return {};
    std::vector<std::uint8_t> coded;
    uint64_t* byteCounts = nullptr;
    if (TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &byteCounts) && byteCounts && byteCounts[0] > 0) {
        coded.resize(static_cast<std::size_t>(byteCounts[0]));
        const tmsize_t got = TIFFReadRawStrip(tif, 0, coded.data(), static_cast<tmsize_t>(coded.size()));
        coded.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    TIFFClose(tif);
    return coded;
}

}  // namespace quillon::test
