#include "tiff/bilevel_pages.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillon {

namespace {

// No fax page comes near this many pixels a side; a larger one (a damaged
// or hostile file) is refused before libtiff allocates its rows.
constexpr std::uint32_t kLargestSide = 1u << 17;

// Reads the current directory's page into the sink.
bool readPage(TIFF* tif, BilevelPageSink& sink, std::string& why) {
    std::uint32_t width = 0, rows = 0;
    std::uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &rows);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    if (bits != 1 || samples != 1 ||
        (photometric != PHOTOMETRIC_MINISWHITE && photometric != PHOTOMETRIC_MINISBLACK)) {
        why = "a page is no bilevel image";
        return false;
    }
    if (width == 0 || width > kLargestSide || rows > kLargestSide) {
        why = "a page is " + std::to_string(width) + " x " + std::to_string(rows) + " pixels, no fax page size";
        return false;
    }
    if (TIFFIsTiled(tif)) {
        why = "a page is stored in tiles";
        return false;
    }
    const std::size_t rowBytes = (std::size_t(width) + 7) / 8;
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (scanline <= 0 || std::size_t(scanline) < rowBytes) {
        why = "a page's rows cannot be read";
        return false;
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(scanline));
    // Bits beyond the width are not the page's: the canonical form has zeros there.
    const std::uint8_t lastMask = width % 8 ? std::uint8_t(0xFF << (8 - width % 8)) : std::uint8_t(0xFF);
    sink.beginPage(width, rows);
    for (std::uint32_t y = 0; y < rows; ++y) {
        if (TIFFReadScanline(tif, row.data(), y, 0) < 0) {
            sink.pageUnreadable("row " + std::to_string(y + 1) + " of " + std::to_string(rows) + " does not decode");
            return true;
        }
        if (photometric == PHOTOMETRIC_MINISBLACK)
            for (std::size_t i = 0; i < rowBytes; ++i) row[i] = std::uint8_t(~row[i]);
        row[rowBytes - 1] &= lastMask;
        sink.row(std::span<const std::uint8_t>(row.data(), rowBytes));
    }
    return true;
}

bool readPages(TIFF* tif, BilevelPageSink& sink, std::string& why) {
    do {
        if (!readPage(tif, sink, why)) return false;
    } while (TIFFReadDirectory(tif));
    return true;
}

// A TIFF file held in memory, for libtiff's client calls.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    toff_t at = 0;
};

tmsize_t memoryRead(thandle_t handle, void* buffer, tmsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (size < 0 || file->at >= file->bytes.size()) return 0;
    const std::size_t count = std::min<std::size_t>(std::size_t(size), file->bytes.size() - file->at);
    std::memcpy(buffer, file->bytes.data() + file->at, count);
    file->at += count;
    return tmsize_t(count);
}

tmsize_t memoryWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t memorySeek(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    const toff_t base = whence == SEEK_CUR ? file->at : whence == SEEK_END ? file->bytes.size() : 0;
    file->at = base + offset;
    return file->at;
}

int memoryClose(thandle_t) { return 0; }
toff_t memorySize(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }
int memoryMap(thandle_t, void**, toff_t*) { return 0; }
void memoryUnmap(thandle_t, void*, toff_t) {}

void put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, std::uint16_t(value));
    put16(out, std::uint16_t(value >> 16));
}

// A little-endian TIFF of one strip holding the data.
std::vector<std::uint8_t> singleStripTiff(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t rows,
                                          bool blackIs1) {
    struct Field {
        std::uint16_t tag, type;
        std::uint32_t value;
    };
    constexpr std::uint16_t kShort = 3, kLong = 4;
    constexpr std::uint32_t kFields = 9;
    constexpr std::uint32_t kDataAt = 8 + 2 + kFields * 12 + 4;
    const Field fields[kFields] = {
        {TIFFTAG_IMAGEWIDTH, kLong, width},
        {TIFFTAG_IMAGELENGTH, kLong, rows},
        {TIFFTAG_BITSPERSAMPLE, kShort, 1},
        {TIFFTAG_COMPRESSION, kShort, COMPRESSION_CCITTFAX4},
        {TIFFTAG_PHOTOMETRIC, kShort, blackIs1 ? std::uint32_t{PHOTOMETRIC_MINISBLACK} : PHOTOMETRIC_MINISWHITE},
        {TIFFTAG_STRIPOFFSETS, kLong, kDataAt},
        {TIFFTAG_SAMPLESPERPIXEL, kShort, 1},
        {TIFFTAG_ROWSPERSTRIP, kLong, rows},
        {TIFFTAG_STRIPBYTECOUNTS, kLong, std::uint32_t(data.size())},
    };
    std::vector<std::uint8_t> out{'I', 'I', 42, 0};
    put32(out, 8);
    put16(out, kFields);
    for (const Field& field : fields) {
        put16(out, field.tag);
        put16(out, field.type);
        put32(out, 1);
        if (field.type == kShort) {
            put16(out, std::uint16_t(field.value));
            put16(out, 0);
        } else {
            put32(out, field.value);
        }
    }
    put32(out, 0);  // no further page
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace

bool readBilevelTiff(const std::string& path, BilevelPageSink& sink, std::string& why) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) {
        why = "it cannot be opened as TIFF";
        return false;
    }
    const bool read = readPages(tif, sink, why);
    TIFFClose(tif);
    return read;
}

bool readGroup4Image(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t rows, bool blackIs1,
                     BilevelPageSink& sink, std::string& why) {
    if (data.size() > 0xFFFFFFF0u) {
        why = "its image data are larger than 4 GB";
        return false;
    }
    MemoryFile file{singleStripTiff(data, width, rows, blackIs1)};
    TIFF* tif = TIFFClientOpen("page image", "rm", &file, memoryRead, memoryWrite, memorySeek, memoryClose, memorySize,
                               memoryMap, memoryUnmap);
    if (!tif) {
        why = "its image cannot be read";
        return false;
    }
    const bool read = readPage(tif, sink, why);
    TIFFClose(tif);
    return read;
}

}  // namespace quillon
