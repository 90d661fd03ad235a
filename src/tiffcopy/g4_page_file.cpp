#include "tiffcopy/g4_page_file.h"

#include "tiffcopy/copy_limits.h"

namespace quillon {
namespace {

constexpr double kCentimetresPerInch = 2.54;

bool readPage(TIFF* tif, G4Page& page) {
    std::uint16_t compression = 0, fillOrder = 0, photometric = 0, unit = RESUNIT_INCH;
    float x = 0, y = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.rows) ||
        !TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y) ||
        !TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
        return false;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double perInch = unit == RESUNIT_CENTIMETER ? kCentimetresPerInch : 1.0;
    page.xDpi = x * perInch;
    page.yDpi = y * perInch;
    page.blackIsZero = photometric == PHOTOMETRIC_MINISBLACK;
    return compression == COMPRESSION_CCITTFAX4 && fillOrder == FILLORDER_MSB2LSB && TIFFNumberOfStrips(tif) == 1 &&
           page.width > 0 && page.rows > 0 && page.xDpi > 0 && page.yDpi > 0;
}

}  // namespace

G4PageFile::G4PageFile(const std::string& path) : tiff_(openTiff(path, "rm")) {
    if (!tiff_) return;
    do {
        G4Page page;
        if (!readPage(tiff_.get(), page)) return;
        pages_.push_back(page);
    } while (TIFFReadDirectory(tiff_.get()));
    ok_ = true;
}

bool G4PageFile::readCodedData(std::size_t index, std::vector<std::uint8_t>& data) {
    if (index >= pages_.size() || !TIFFSetDirectory(tiff_.get(), static_cast<tdir_t>(index))) return false;
    const tmsize_t size = TIFFRawStripSize(tiff_.get(), 0);
    if (size <= 0 || static_cast<std::uint64_t>(size) > maxCopyBufferBytes) return false;
    data.resize(static_cast<std::size_t>(size));
    return TIFFReadRawStrip(tiff_.get(), 0, data.data(), size) == size;
}

}  // namespace quillon
