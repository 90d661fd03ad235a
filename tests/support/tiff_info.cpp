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
        pages.push_back(page);
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

}  // namespace quillon::test
