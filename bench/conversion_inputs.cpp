// Makes the inputs of the conversion benchmark from the real corpus pages:
//   <out>/faxes/fNN.fxd   40 WinFax files of 5 pages each (T.6 and T.4 mixed)
//   <out>/tiffs/fNN.tif   the same 5 pages of each as a CCITT-coded TIFF file
//   <out>/big/big.fxd     one WinFax file of 1024 pages
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
bool writeTiff(const std::filesystem::path& path, const std::vector<WinFaxPage>& pages) {
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
        if (page.coding == 0) {
            TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_CCITTFAX3));
            TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, uint32_t(GROUP3OPT_FILLBITS));
        } else {
            TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_CCITTFAX4));
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
    std::vector<WinFaxPage> coded;
    for (int i = 1; i <= 8; ++i) {
        const std::string file = (corpus / ("CCITT_" + std::to_string(i) + ".TIF")).string();
        const std::vector<Bitmap> pages = quillon::test::readTiffPages(file);
        if (pages.empty()) return 1;
        coded.push_back(quillon::test::winFaxPageFromBitmap(pages[0], i % 2 ? FaxPageCoding::T6 : FaxPageCoding::T4OneDimensional));
    }
    for (int fax = 0; fax < 40; ++fax) {
        std::vector<WinFaxPage> pages;
        for (int p = 0; p < 5; ++p) pages.push_back(coded[(fax + p) % coded.size()]);
        char name[16];
        std::snprintf(name, sizeof name, "f%02d", fax);
        if (!writeBytes(out / "faxes" / (std::string(name) + ".fxd"), quillon::test::buildWinFaxFile(pages)) ||
            !writeTiff(out / "tiffs" / (std::string(name) + ".tif"), pages))
            return 1;
    }
    std::vector<WinFaxPage> big;
    for (int p = 0; p < 1024; ++p) big.push_back(coded[p % coded.size()]);
    return writeBytes(out / "big" / "big.fxd", quillon::test::buildWinFaxFile(big)) ? 0 : 1;
}
