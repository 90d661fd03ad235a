#include "support/tiff_info.h"

#include <tiffio.h>

namespace quillon::test {

std::vector<TiffPageInfo> readTiffInfo(const std::string& path) {
    std::vector<TiffPageInfo> pages;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return pages;
    do {
        TiffPageInfo page;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.rows);
        TIFFGetField(tif, TIFFTAG_COMPRESSION, &page.compression);
        TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &page.fillOrder);
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &page.xResolution);
        TIFFGetField(tif, TIFFTAG_YRESOLUTION, &page.yResolution);
        TIFFGetField(tif, TIFFTAG_PAGENUMBER, &page.pageIndex, &page.pageCount);
        char* software = nullptr;
        if (TIFFGetField(tif, TIFFTAG_SOFTWARE, &software) && software) page.software = software;
        auto field = [tif](std::uint32_t tag, auto value) -> std::int64_t {
            return TIFFGetField(tif, tag, &value) ? std::int64_t(value) : -1;
        };
        page.subfileType = field(TIFFTAG_SUBFILETYPE, std::uint32_t{});
        page.photometric = field(TIFFTAG_PHOTOMETRIC, std::uint16_t{});
        page.orientation = field(TIFFTAG_ORIENTATION, std::uint16_t{});
        page.resolutionUnit = field(TIFFTAG_RESOLUTIONUNIT, std::uint16_t{});
        page.bitsPerSample = field(TIFFTAG_BITSPERSAMPLE, std::uint16_t{});
        page.samplesPerPixel = field(TIFFTAG_SAMPLESPERPIXEL, std::uint16_t{});
        page.planarConfig = field(TIFFTAG_PLANARCONFIG, std::uint16_t{});
        page.group4Options = field(TIFFTAG_GROUP4OPTIONS, std::uint32_t{});
        char* dateTime = nullptr;
        page.hasDateTime = TIFFGetField(tif, TIFFTAG_DATETIME, &dateTime) && dateTime;
        pages.push_back(page);
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

}  // namespace quillon::test
