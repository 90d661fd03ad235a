#include "tiff/bilevel_pages.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "codec/fax_decoder.h"
#include "platform/source_file.h"
#include "tiff/client_tiff.h"
#include "tiff/tiff_source.h"

namespace quillon {

namespace {

// More pages than any fax holds are not counted.
constexpr std::uint32_t kMostPages = 65535;

// Hands rows as libtiff decodes them (nullptr for one that does not) to a
// sink in the canonical form: 1 = black, zero bits beyond the width. After
// a row that does not decode, the page is unreadable and no more rows go.
class PackedRows {
public:
    PackedRows(std::uint32_t width, bool minIsBlack, BilevelPageSink& sink)
        : bytes_((std::size_t(width) + 7) / 8),
          lastMask_(width % 8 ? std::uint8_t(0xFF << (8 - width % 8)) : std::uint8_t(0xFF)),
          minIsBlack_(minIsBlack),
          packed_(bytes_),
          sink_(sink) {}

    void operator()(const std::uint8_t* row) {
        if (failed_) return;
        if (!row) {
            failed_ = true;
            sink_.pageUnreadable("row " + std::to_string(rows_ + 1) + " does not decode");
            return;
        }
        if (minIsBlack_)
            std::transform(row, row + bytes_, packed_.begin(), [](std::uint8_t bits) { return std::uint8_t(~bits); });
        else
            std::memcpy(packed_.data(), row, bytes_);
        packed_[bytes_ - 1] &= lastMask_;
        sink_.row(packed_);
        ++rows_;
    }

private:
    std::size_t bytes_;
    std::uint8_t lastMask_;
    bool minIsBlack_;
    std::vector<std::uint8_t> packed_;
    BilevelPageSink& sink_;
    std::uint32_t rows_ = 0;
    bool failed_ = false;
};

// Reads the current directory's page of a TIFF made here (one strip of
// Group 4 data) into the sink.
bool readPage(TIFF* tif, BilevelPageSink& sink, std::string& why) {
    std::uint32_t width = 0, rows = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &rows);
    if (width == 0 || width > std::uint32_t(kMaxPageWidth) || rows > kMaxPageRows) {
        why = "a page is " + std::to_string(width) + " x " + std::to_string(rows) + " pixels, no fax page size";
        return false;
    }
    const tmsize_t scanline = TIFFScanlineSize(tif);
    if (scanline <= 0 || std::uint64_t(scanline) * 8 < width) {
        why = "a page's rows cannot be read";
        return false;
    }
    std::uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(scanline));
    sink.beginPage(width, rows);
    PackedRows packed(width, photometric == PHOTOMETRIC_MINISBLACK, sink);
    for (std::uint32_t y = 0; y < rows; ++y) packed(TIFFReadScanline(tif, row.data(), y, 0) < 0 ? nullptr : row.data());
    return true;
}

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
    const platform::SourceFile file(path);
    TiffSource source;
    if (!source.open(file.contents(), path, why)) return false;
    const std::uint32_t pages = source.countPages(kMostPages);
    for (std::uint32_t index = 0; index < pages; ++index) {
        TiffPage page;
        if (!source.selectPage(index, page, why)) {
            why = "page " + std::to_string(index + 1) + ": " + why;
            return false;
        }
        sink.beginPage(page.width, page.length);
        PackedRows packed(page.width, page.minIsBlack, sink);
        if (!source.readRows(std::ref(packed))) sink.pageUnreadable("its rows cannot be read");
    }
    return true;
}

bool readGroup4Image(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t rows, bool blackIs1,
                     BilevelPageSink& sink, std::string& why) {
    if (data.size() > 0xFFFFFFF0u) {
        why = "its image data are larger than 4 GB";
        return false;
    }
    const std::vector<std::uint8_t> bytes = singleStripTiff(data, width, rows, blackIs1);
    TiffBytes file{std::span<const std::uint8_t>(bytes)};
    TIFF* tif = openTiffBytes(file, "page image", "rm");
    if (!tif) {
        why = "its image cannot be read";
        return false;
    }
    const bool read = readPage(tif, sink, why);
    TIFFClose(tif);
    return read;
}

}  // namespace quillon
