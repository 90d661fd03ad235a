#include "formats/bmp_reader.h"

#include <algorithm>
#include <cmath>

#include "codec/row_runs.h"
#include "formats/little_endian.h"
#include "formats/palette_brightness.h"

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2 1.x: 16-bit sizes, 3-byte palette entries
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint16_t kDefaultResolution = 200;

// A palette entry is blue, green, red (and a reserved byte).
unsigned entryBrightness(const std::uint8_t* bgr) { return brightness(bgr[2], bgr[1], bgr[0]); }

std::uint16_t dotsPerInch(std::uint32_t perMetre) {
    if (perMetre == 0 || perMetre > 0x7FFFFFFF) return kDefaultResolution;
    return static_cast<std::uint16_t>(std::clamp(std::lround(perMetre * 0.0254), 1L, 65535L));
}

}  // namespace

bool BmpReader::open(SourceBytes file) {
    if (!openBytes(file)) return false;
    // The largest header read: the info header and two palette entries.
    std::uint8_t h[kFileHeaderSize + 124 + 8] = {};
    const std::size_t read = readAt(0, h, sizeof h);
    if (read < kFileHeaderSize + kCoreHeaderSize || h[0] != 'B' || h[1] != 'M') {
        refuse("it does not start with a bitmap header");
        return true;
    }
    pixelsAt_ = loadU32(h + 10);
    const std::uint32_t infoSize = loadU32(h + 14);
    const std::uint8_t* info = h + kFileHeaderSize;
    std::int64_t width = 0, height = 0;
    std::uint16_t bits = 0;
    std::uint32_t compression = kUncompressed;
    std::size_t paletteEntry = 4;
    if (infoSize == kCoreHeaderSize) {
        width = loadU16(info + 4);
        height = loadU16(info + 6);
        bits = loadU16(info + 10);
        paletteEntry = 3;
    } else if (infoSize >= kInfoHeaderSize && infoSize <= 124) {
        width = static_cast<std::int32_t>(loadU32(info + 4));
        height = static_cast<std::int32_t>(loadU32(info + 8));
        bits = loadU16(info + 14);
        compression = loadU32(info + 16);
        xResolution_ = dotsPerInch(loadU32(info + 24));
        yResolution_ = dotsPerInch(loadU32(info + 28));
    } else {
        refuse("its bitmap header (" + std::to_string(infoSize) + " bytes) is of no known kind");
        return true;
    }
    if (bits != 1) {
        refuse("a bitmap of " + std::to_string(bits) + " bits per pixel, not a black-and-white fax page");
        return true;
    }
    if (compression != kUncompressed) {
        refuse("a compressed bitmap (compression " + std::to_string(compression) + "), which fax pages never are");
        return true;
    }
    topDown_ = height < 0;
    width_ = static_cast<std::uint32_t>(std::min<std::int64_t>(width, kMaxPageWidth + 1));
    rows_ = static_cast<std::uint32_t>(std::min<std::int64_t>(std::abs(height), kMaxPageRows + 1));
    if (width_ == 0 || width_ > kMaxPageWidth || rows_ == 0 || rows_ > kMaxPageRows) {
        refuse("its size (" + std::to_string(width) + " x " + std::to_string(height) + " pixels) is no fax page's");
        return true;
    }
    const std::size_t paletteAt = kFileHeaderSize + infoSize;
    if (paletteAt + 2 * paletteEntry > read) {
        refuse("its palette is missing");
        return true;
    }
    if (infoSize == kCoreHeaderSize) xResolution_ = yResolution_ = kDefaultResolution;
    // Colour 1 is black when it is the darker one; two equal colours keep 1 black.
    blackIs1_ = entryBrightness(h + paletteAt + paletteEntry) <= entryBrightness(h + paletteAt);
    listPages(1);
    return true;
}

bool BmpReader::describePage(std::uint16_t, LoadedPage& page) {
    const std::uint64_t stride = (std::uint64_t(width_) + 31) / 32 * 4;
    const std::int64_t present = std::max<std::int64_t>(0, fileSize() - std::int64_t(pixelsAt_));
    loadPageData(pixelsAt_, static_cast<std::size_t>(std::min<std::uint64_t>(stride * rows_, std::uint64_t(present))));
    page.width = width_;
    page.length = rows_;
    page.xResolution = xResolution_;
    page.yResolution = yResolution_;
    return true;
}

PageSummary BmpReader::decodeDescribedPage(LineSink* lines) {
    const std::size_t stride = (std::size_t(width_) + 31) / 32 * 4;
    const std::vector<std::uint8_t>& pixels = pageData();
    RowCounter rows(lines, width_, false);
    std::vector<std::uint32_t> runs;
    std::uint32_t missing = 0;
    for (std::uint32_t y = 0; y < rows_; ++y) {
        // Bottom-up bitmaps store the page's last row first.
        const std::size_t stored = topDown_ ? y : rows_ - 1 - y;
        if ((stored + 1) * stride > pixels.size()) {
            ++missing;
            rows.whiteRowsUpTo(rows.rows() + 1);
            continue;
        }
        rowRuns(pixels.data() + stored * stride, width_, blackIs1_, runs);
        rows.line(runs.data(), static_cast<std::uint32_t>(runs.size()));
    }
    PageSummary summary;
    summary.width = width_;
    summary.rows = rows_;
    summary.coding = ImageCoding::Uncompressed;
    summary.linesMet = rows_;
    summary.badLines = missing;
    summary.goodRows = rows_ - missing;
    summary.bytesAnnounced = static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t(stride) * rows_, 0xFFFFFFFFu));
    summary.bytesPresent = static_cast<std::uint32_t>(pixels.size());
    summary.state = missing > 0 ? PageState::Cut : PageState::Ok;
    return summary;
}

}  // namespace quillon
