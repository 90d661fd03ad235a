// Makes the inputs of the conversion benchmark from the real corpus pages,
// coded in turn as T.6, T.4 one-dimensional and T.4 with fill bits:
//   <out>/faxes/fNN.fxd   40 WinFax files of 5 pages each
//   <out>/all.tif         the same 200 pages, with the same codings, as one
//                         multi-page CCITT-coded TIFF file
//   <out>/big/big.fxd     one WinFax file of 1024 pages, and big.tif the same
//                         pages as one TIFF file
//
//   quillon_bench_inputs <corpus folder> <out folder>

#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/pixel_hash.h"
#include "support/winfax_writer.h"

namespace {

using quillon::test::Bitmap;
using quillon::test::FaxPageCoding;
using quillon::test::WinFaxPage;

bool writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The pages as a multi-page TIFF file whose strips hold the same coded bytes.
bool writeTiff(const std::filesystem::path& path, const std::vector<WinFaxPage>& pages,
               const std::vector<FaxPageCoding>& codings) {
    std::filesystem::create_directories(path.parent_path());
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    if (!tif) return false;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const WinFaxPage& page = pages[i];
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(page.width));
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(page.length));
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(1));
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1));
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_MINISWHITE));
        TIFFSetField(tif, TIFFTAG_FILLORDER, uint16_t(FILLORDER_LSB2MSB));
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(page.length));
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, 200.0f);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, 200.0f);
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH));
        TIFFSetField(tif, TIFFTAG_PAGENUMBER, uint16_t(i), uint16_t(pages.size()));
        if (codings[i] == FaxPageCoding::T6) {
            TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_CCITTFAX4));
        } else {
            TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_CCITTFAX3));
            TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS,
                         uint32_t(codings[i] == FaxPageCoding::T4OneDimensional ? GROUP3OPT_FILLBITS : 0));
        }
        std::vector<std::uint8_t> data = page.data;
        if (TIFFWriteRawStrip(tif, 0, data.data(), static_cast<tmsize_t>(data.size())) < 0 || !TIFFWriteDirectory(tif)) {
            TIFFClose(tif);
            return false;
        }
    }
    TIFFClose(tif);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillon_bench_inputs <corpus folder> <out folder>\n");
        return 2;
    }
    const std::filesystem::path corpus = argv[1], out = argv[2];
    constexpr FaxPageCoding kCodings[] = {FaxPageCoding::T6, FaxPageCoding::T4NoFillBits,
                                          FaxPageCoding::T4OneDimensional};
    std::vector<Bitmap> bitmaps;
    for (int i = 1; i <= 8; ++i) {
        const std::string file = (corpus / ("CCITT_" + std::to_string(i) + ".TIF")).string();
        const std::vector<Bitmap> pages = quillon::test::readTiffPages(file);
        if (pages.empty()) return 1;
        bitmaps.push_back(pages[0]);
    }
    // Every corpus page in every coding; page n of the run takes page n % 8 in coding n % 3.
    std::vector<std::vector<WinFaxPage>> coded(bitmaps.size());
    for (std::size_t i = 0; i < bitmaps.size(); ++i)
        for (const FaxPageCoding coding : kCodings) coded[i].push_back(quillon::test::winFaxPageFromBitmap(bitmaps[i], coding));
    auto page = [&](std::size_t n) { return coded[n % coded.size()][n % 3]; };

    std::vector<WinFaxPage> all;
    std::vector<FaxPageCoding> allCodings;
    for (int fax = 0; fax < 40; ++fax) {
        std::vector<WinFaxPage> pages;
        for (int p = 0; p < 5; ++p) {
            const std::size_t n = std::size_t(fax * 5 + p);
            pages.push_back(page(n));
            all.push_back(page(n));
            allCodings.push_back(kCodings[n % 3]);
        }
        char name[16];
        std::snprintf(name, sizeof name, "f%02d", fax);
        if (!writeBytes(out / "faxes" / (std::string(name) + ".fxd"), quillon::test::buildWinFaxFile(pages))) return 1;
    }
    if (!writeTiff(out / "all.tif", all, allCodings)) return 1;
    std::vector<WinFaxPage> big;
    std::vector<FaxPageCoding> bigCodings;
    for (std::size_t n = 0; n < 1024; ++n) {
        big.push_back(page(n));
        bigCodings.push_back(kCodings[n % 3]);
    }
    return writeBytes(out / "big" / "big.fxd", quillon::test::buildWinFaxFile(big)) &&
                   writeTiff(out / "big" / "big.tif", big, bigCodings)
               ? 0
               : 1;
}
