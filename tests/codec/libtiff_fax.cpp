#include "codec/libtiff_fax.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include "support/temp_dir.h"

namespace quillon::test {

namespace {

void setCoding(TIFF* tif, LibtiffCoding coding) {
    switch (coding) {
        case LibtiffCoding::ModifiedHuffman: TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTRLE); break;
        case LibtiffCoding::ModifiedHuffmanWord: TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTRLEW); break;
        case LibtiffCoding::T4OneDimensional:
            TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
            TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 0);
            break;
        case LibtiffCoding::T4OneDimensionalFill:
            TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
            TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_FILLBITS);
            break;
        case LibtiffCoding::T4TwoDimensional:
            TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
            TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
            break;
        case LibtiffCoding::T6: TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4); break;
    }
}

// A new file whose first page is a bilevel fax page of this size and coding.
TIFF* openFaxPage(const std::string& path, unsigned width, unsigned rows, unsigned rowsPerStrip, LibtiffCoding coding,
                  int fillOrder) {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) {
        ADD_FAILURE() << "libtiff cannot write " << path;
        return nullptr;
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, rows);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tif, TIFFTAG_FILLORDER, fillOrder == 1 ? FILLORDER_MSB2LSB : FILLORDER_LSB2MSB);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    setCoding(tif, coding);
    return tif;
}

// Pad bits after the width are 0, as in every bitmap of this project.
void clearPadBits(std::vector<std::uint8_t>& pixels, unsigned width, unsigned rows) {
    const std::size_t bytesPerRow = (width + 7) / 8;
    if (width % 8)
        for (unsigned r = 0; r < rows; ++r) pixels[(r + 1) * bytesPerRow - 1] &= std::uint8_t(0xFF00 >> (width % 8));
}

}  // namespace

LibtiffPage codeWithLibtiff(const std::vector<std::uint8_t>& pixels, unsigned width, unsigned rows,
                            LibtiffCoding coding, int fillOrder) {
    TempDir dir;
    const std::string path = (dir / "page.tif").string();
    TIFF* out = openFaxPage(path, width, rows, rows, coding, fillOrder);
    if (!out) return {};
    const std::size_t bytesPerRow = (width + 7) / 8;
    std::vector<std::uint8_t> row(bytesPerRow);
    for (unsigned r = 0; r < rows; ++r) {
        std::copy_n(pixels.begin() + std::ptrdiff_t(r * bytesPerRow), bytesPerRow, row.begin());
        if (TIFFWriteScanline(out, row.data(), r, 0) < 0) ADD_FAILURE() << "libtiff cannot code row " << r;
    }
    TIFFClose(out);
    // libtiff's decoder loses the word alignment of Compression 32771 after
    // the first lines, while its coder keeps it: there the page's own pixels
    // stand for the decoding.
    if (coding == LibtiffCoding::ModifiedHuffmanWord) {
        LibtiffPage page = readLibtiffStrip(path, false);
        page.pixels = pixels;
        return page;
    }
    return readLibtiffStrip(path);
}

std::vector<std::uint8_t> decodeT6StripsWithLibtiff(const std::vector<std::vector<std::uint8_t>>& strips,
                                                    unsigned width, unsigned rows, unsigned rowsPerStrip) {
    TempDir dir;
    const std::string path = (dir / "strips.tif").string();
    TIFF* tif = openFaxPage(path, width, rows, rowsPerStrip, LibtiffCoding::T6, 2);
    if (!tif) return {};
    for (std::size_t i = 0; i < strips.size(); ++i) {
        std::vector<std::uint8_t> strip = strips[i];
        if (TIFFWriteRawStrip(tif, std::uint32_t(i), strip.data(), tmsize_t(strip.size())) < 0) ADD_FAILURE() << i;
    }
    TIFFClose(tif);
    tif = TIFFOpen(path.c_str(), "r");
    const std::size_t bytesPerRow = (width + 7) / 8;
    std::vector<std::uint8_t> pixels(bytesPerRow * rows, 0);
    for (std::uint32_t i = 0; tif && i < TIFFNumberOfStrips(tif); ++i) {
        const std::size_t at = std::size_t(i) * rowsPerStrip * bytesPerRow;
        if (TIFFReadEncodedStrip(tif, i, pixels.data() + at, tmsize_t(pixels.size() - at)) < 0)
            ADD_FAILURE() << "libtiff cannot decode strip " << i;
    }
    if (tif) TIFFClose(tif);
    clearPadBits(pixels, width, rows);
    return pixels;
}

LibtiffPage readLibtiffStrip(const std::string& path, bool decode) {
    LibtiffPage page;
    TIFF* in = TIFFOpen(path.c_str(), "r");
    if (!in) {
        ADD_FAILURE() << "libtiff cannot read " << path;
        return page;
    }
    std::uint32_t width = 0, rows = 0;
    TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(in, TIFFTAG_IMAGELENGTH, &rows);
    EXPECT_EQ(TIFFNumberOfStrips(in), 1u) << path;
    std::uint64_t* counts = nullptr;
    TIFFGetField(in, TIFFTAG_STRIPBYTECOUNTS, &counts);
    page.width = width;
    page.rows = rows;
    page.coded.resize(counts ? counts[0] : 0);
    if (TIFFReadRawStrip(in, 0, page.coded.data(), tmsize_t(page.coded.size())) < 0) ADD_FAILURE() << "raw strip";
    page.pixels.assign(page.bytesPerRow() * rows, 0);
    if (decode && TIFFReadEncodedStrip(in, 0, page.pixels.data(), tmsize_t(page.pixels.size())) < 0)
        ADD_FAILURE() << "libtiff cannot decode " << path;
    TIFFClose(in);
    clearPadBits(page.pixels, width, rows);
    return page;
}

}  // namespace quillon::test
