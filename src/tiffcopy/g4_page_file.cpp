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
        std::uint64_t* offsets = nullptr;
        std::uint64_t* sizes = nullptr;
        if (!readPage(tiff_.get(), page) || !TIFFGetField(tiff_.get(), TIFFTAG_STRIPOFFSETS, &offsets) ||
            !TIFFGetField(tiff_.get(), TIFFTAG_STRIPBYTECOUNTS, &sizes))
            return;
        if (sizes[0] == 0 || sizes[0] > maxCopyBufferBytes) return;
        pages_.push_back(page);
        strips_.push_back({offsets[0], sizes[0]});
    } while (TIFFReadDirectory(tiff_.get()));
    ok_ = true;
}

bool G4PageFile::readCodedData(std::size_t index, std::vector<std::uint8_t>& data) {
    if (index >= strips_.size()) return false;
    const Strip& strip = strips_[index];
    const thandle_t file = TIFFClientdata(tiff_.get());
    data.resize(static_cast<std::size_t>(strip.size));
    const auto size = static_cast<tmsize_t>(strip.size);
    return TIFFGetSeekProc(tiff_.get())(file, strip.offset, SEEK_SET) == strip.offset &&
           TIFFGetReadProc(tiff_.get())(file, data.data(), size) == size;
}

}  // namespace quillon
