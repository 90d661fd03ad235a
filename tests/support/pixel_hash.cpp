#include "support/pixel_hash.h"

#include <gtest/gtest.h>
#include <tiffio.h>

namespace quillon::test {

std::uint64_t fnv1a64(const std::uint8_t* data, std::size_t size, std::uint64_t seed) {
    std::uint64_t hash = seed;
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::vector<Bitmap> readTiffPages(const std::string& path) {
    std::vector<Bitmap> pages;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) {
        ADD_FAILURE() << "libtiff cannot open " << path;
        return pages;
    }
    do {
        Bitmap page;
        uint32_t width = 0, rows = 0;
        uint16_t photometric = PHOTOMETRIC_MINISWHITE;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &rows);
        TIFFGetFieldDefaulted(tif, TIFFTAG_PHOTOMETRIC, &photometric);
        page.width = width;
        page.rows = rows;
        const std::size_t stride = page.bytesPerRow();
        page.bits.assign(stride * rows, 0);
        std::vector<std::uint8_t> line(static_cast<std::size_t>(TIFFScanlineSize(tif)) + stride);
        for (uint32_t r = 0; r < rows; ++r) {
            if (TIFFReadScanline(tif, line.data(), r, 0) < 0) {
                ADD_FAILURE() << path << ": cannot read row " << r;
                break;
            }
            std::uint8_t* out = page.bits.data() + r * stride;
            for (std::size_t i = 0; i < stride; ++i)
                out[i] = photometric == PHOTOMETRIC_MINISBLACK ? static_cast<std::uint8_t>(~line[i]) : line[i];
            if (width % 8) out[stride - 1] &= static_cast<std::uint8_t>(0xFF << (8 - width % 8));
        }
        pages.push_back(std::move(page));
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

}  // namespace quillon::test
