#include "tiff/tiff_source.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

// The most bytes one band of tiles may take.
constexpr std::size_t kLargestTileBand = 16u << 20;

std::uint16_t dotsPerInch(float value, std::uint16_t unit) {
    if (!std::isfinite(value) || value <= 0 || unit == RESUNIT_NONE) return 0;
    const double perInch = unit == RESUNIT_CENTIMETER ? value * 2.54 : value;
    return static_cast<std::uint16_t>(std::clamp(std::lround(perInch), 1L, 65535L));
}

// How the page's data are coded, or why they are not taken.
bool pageCoding(TIFF* tif, TiffPage& page, std::string& why) {
    std::uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    page.ccittCoded = true;
    switch (compression) {
        case COMPRESSION_CCITTRLE: page.coding = ImageCoding::ModifiedHuffman; return true;
        case COMPRESSION_CCITTRLEW: page.coding = ImageCoding::ModifiedHuffmanWord; return true;
        case COMPRESSION_CCITTFAX3: {
            std::uint32_t options = 0;
            TIFFGetField(tif, TIFFTAG_GROUP3OPTIONS, &options);
            if (options & GROUP3OPT_UNCOMPRESSED) {
                why = "its Group 3 data may hold uncompressed mode, which fax pages do not use";
                return false;
            }
            page.coding = options & GROUP3OPT_2DENCODING ? ImageCoding::T4TwoDimensional : ImageCoding::T4OneDimensional;
            return true;
        }
        case COMPRESSION_CCITTFAX4: {
            std::uint32_t options = 0;
            TIFFGetField(tif, TIFFTAG_GROUP4OPTIONS, &options);
            if (options & GROUP4OPT_UNCOMPRESSED) {
                why = "its Group 4 data may hold uncompressed mode, which fax pages do not use";
                return false;
            }
            page.coding = ImageCoding::T6;
            return true;
        }
        default: break;
    }
    page.ccittCoded = false;
    switch (compression) {
        case COMPRESSION_NONE: page.coding = ImageCoding::Uncompressed; return true;
        case COMPRESSION_PACKBITS: page.coding = ImageCoding::PackBits; return true;
        case COMPRESSION_LZW: page.coding = ImageCoding::Lzw; return true;
        default: break;
    }
    if (!TIFFIsCODECConfigured(compression)) {
        why = "its compression (" + std::to_string(compression) + ") cannot be decoded";
        return false;
    }
    page.coding = ImageCoding::OtherTiff;
    return true;
}

// A page of one bit per pixel, black and white; anything else is refused
// with what it is.
bool isBilevel(TIFF* tif, std::string& why) {
    std::uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    const bool grey = photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK;
    if (samples == 1 && bits == 1 && grey) return true;
    const std::string depth = std::to_string(bits * samples) + " bits per pixel";
    if (samples == 1 && grey)
        why = "a greyscale image (" + depth + "), not a black-and-white fax page";
    else
        why = "a colour image (" + depth + "), not a black-and-white fax page";
    return false;
}

}  // namespace

TiffSource::~TiffSource() {
    if (tif_) TIFFClose(tif_);
}

bool TiffSource::open(const platform::SourceBytes& bytes, const std::string& name, std::string& why) {
    if (tif_) TIFFClose(tif_);
    tif_ = nullptr;
    if (!bytes) {
        why = "it cannot be opened";
        return false;
    }
    file_ = TiffBytes{bytes};
    // "r", not "rm": libtiff reads held bytes in place, as it reads a file
    // it maps, as it did when it opened sources by their paths.
    tif_ = openTiffBytes(file_, name, "r");
    if (!tif_) why = "it is no TIFF file libtiff can read";
    return tif_ != nullptr;
}

std::uint32_t TiffSource::countPages(std::uint32_t limit) {
    if (!tif_ || !TIFFSetDirectory(tif_, 0)) return 0;
    std::uint32_t pages = 1;
    while (pages < limit && TIFFReadDirectory(tif_)) ++pages;
    return pages;
}

bool TiffSource::selectPage(std::uint32_t index, TiffPage& page, std::string& why) {
    page = {};
    // Pages are mostly read in order: the next directory is read without
    // walking the chain again from the first.
    const bool next = tif_ && index > 0 && TIFFCurrentDirectory(tif_) == index - 1;
    if (!tif_ || !(next ? TIFFReadDirectory(tif_) : TIFFSetDirectory(tif_, static_cast<tdir_t>(index)))) {
        why = "its directory cannot be read";
        return false;
    }
    if (!isBilevel(tif_, why) || !pageCoding(tif_, page, why)) return false;
    TIFFGetField(tif_, TIFFTAG_IMAGEWIDTH, &page.width);
    TIFFGetField(tif_, TIFFTAG_IMAGELENGTH, &page.length);
    if (page.width == 0 || page.width > kMaxPageWidth || page.length == 0 || page.length > kMaxPageRows) {
        why = "its size (" + std::to_string(page.width) + " x " + std::to_string(page.length) +
              " pixels) is no fax page's";
        return false;
    }
    if (page.ccittCoded && TIFFIsTiled(tif_)) {
        why = "its CCITT-coded data are stored in tiles, which fax pages never are";
        return false;
    }
    std::uint16_t photometric = PHOTOMETRIC_MINISWHITE, fillOrder = FILLORDER_MSB2LSB, unit = RESUNIT_INCH;
    TIFFGetField(tif_, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif_, TIFFTAG_FILLORDER, &fillOrder);
    TIFFGetFieldDefaulted(tif_, TIFFTAG_RESOLUTIONUNIT, &unit);
    float x = 0, y = 0;
    TIFFGetField(tif_, TIFFTAG_XRESOLUTION, &x);
    TIFFGetField(tif_, TIFFTAG_YRESOLUTION, &y);
    page.xResolution = dotsPerInch(x, unit);
    page.yResolution = dotsPerInch(y, unit);
    page.minIsBlack = photometric == PHOTOMETRIC_MINISBLACK;
    page.fillOrder = fillOrder == FILLORDER_LSB2MSB ? 2 : 1;
    TIFFGetFieldDefaulted(tif_, TIFFTAG_ROWSPERSTRIP, &page.rowsPerStrip);
    page.rowsPerStrip = std::clamp<std::uint32_t>(page.rowsPerStrip, 1, page.length);
    page.strips = TIFFIsTiled(tif_) ? 0 : TIFFNumberOfStrips(tif_);
    page_ = page;
    return true;
}

bool TiffSource::readRawStrip(std::uint32_t strip, std::vector<std::uint8_t>& data) {
    data.clear();
    if (!tif_ || strip >= page_.strips) return false;
    const std::uint64_t offset = TIFFGetStrileOffset(tif_, strip);
    const std::uint64_t count = TIFFGetStrileByteCount(tif_, strip);
    const std::uint64_t fileSize = static_cast<std::uint64_t>(TIFFGetSizeProc(tif_)(TIFFClientdata(tif_)));
    // Cut to the file: a count beyond it would only allocate what cannot be read.
    const std::uint64_t present = offset < fileSize ? std::min(count, fileSize - offset) : 0;
    if (present == 0) return false;
    data.resize(static_cast<std::size_t>(present));
    const tmsize_t read = TIFFReadRawStrip(tif_, strip, data.data(), static_cast<tmsize_t>(present));
    data.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return !data.empty();
}

bool TiffSource::readRows(const std::function<void(const std::uint8_t* row)>& row) {
    if (!tif_) return false;
    if (TIFFIsTiled(tif_)) return readTiledRows(row);
    const tmsize_t scanline = TIFFScanlineSize(tif_);
    if (scanline <= 0 || std::uint64_t(scanline) * 8 < page_.width) return false;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(scanline));
    for (std::uint32_t y = 0; y < page_.length; ++y)
        row(TIFFReadScanline(tif_, buffer.data(), y, 0) < 0 ? nullptr : buffer.data());
    return true;
}

bool TiffSource::readTiledRows(const std::function<void(const std::uint8_t* row)>& row) {
    std::uint32_t tileWidth = 0, tileLength = 0;
    TIFFGetField(tif_, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif_, TIFFTAG_TILELENGTH, &tileLength);
    const tmsize_t tileSize = TIFFTileSize(tif_);
    const tmsize_t tileRowBytes = TIFFTileRowSize(tif_);
    if (tileWidth == 0 || tileLength == 0 || tileSize <= 0 || std::size_t(tileRowBytes) < tileWidth / 8 ||
        tileWidth % 8 != 0)
        return false;
    const std::size_t bandRowBytes = (std::size_t(page_.width) + tileWidth - 1) / tileWidth * (tileWidth / 8);
    if (std::size_t(tileSize) > kLargestTileBand || bandRowBytes * tileLength > kLargestTileBand) return false;
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(tileSize));
    std::vector<std::uint8_t> band(bandRowBytes * tileLength);
    std::vector<bool> rowRead(tileLength);
    for (std::uint32_t top = 0; top < page_.length; top += tileLength) {
        std::fill(rowRead.begin(), rowRead.end(), true);
        for (std::uint32_t left = 0; left < page_.width; left += tileWidth) {
            const bool read = TIFFReadTile(tif_, tile.data(), left, top, 0, 0) >= 0;
            for (std::uint32_t y = 0; y < tileLength; ++y) {
                if (!read) rowRead[y] = false;
                else
                    std::copy_n(tile.data() + std::size_t(y) * std::size_t(tileRowBytes), tileWidth / 8,
                                band.data() + std::size_t(y) * bandRowBytes + left / 8);
            }
        }
        for (std::uint32_t y = 0; y < tileLength && top + y < page_.length; ++y)
            row(rowRead[y] ? band.data() + std::size_t(y) * bandRowBytes : nullptr);
    }
    return true;
}

}  // namespace quillon
