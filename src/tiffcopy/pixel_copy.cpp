#include "tiffcopy/pixel_copy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tiffcopy/copy_limits.h"
#include "tiffcopy/pixel_layout.h"
#include "tiffcopy/row_sink.h"
#include "tiffcopy/row_source.h"

namespace quillon {
namespace {

std::uint32_t stripRows(TIFF* tif, std::uint32_t length) {
    std::uint32_t rowsPerStrip = UINT32_MAX;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    return std::min(rowsPerStrip, length);
}

// Strips on both sides with the same rows per strip: whole strips go through
// one buffer, strip n of the input becoming strip n of the output.
bool stripsMatch(TIFF* in, TIFF* out, const PixelLayout& layout) {
    return !TIFFIsTiled(in) && !TIFFIsTiled(out) && stripRows(in, layout.length) == stripRows(out, layout.length) &&
           TIFFNumberOfStrips(in) == TIFFNumberOfStrips(out) && TIFFStripSize64(in) <= maxWholeStripBytes;
}

bool copyDecodedStrips(TIFF* in, TIFF* out, const PixelLayout& layout) {
    const std::uint32_t rowsPerStrip = stripRows(in, layout.length);
    const std::uint32_t strips = TIFFNumberOfStrips(in);
    const std::uint32_t stripsPerPlane = strips / layout.planes;
    if (rowsPerStrip == 0 || stripsPerPlane == 0) return false;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(TIFFStripSize64(in)));
    for (std::uint32_t strip = 0; strip < strips; ++strip) {
        const std::uint32_t firstRow = (strip % stripsPerPlane) * rowsPerStrip;
        const std::uint32_t rows = std::min(rowsPerStrip, layout.length - std::min(firstRow, layout.length));
        const tmsize_t bytes = TIFFVStripSize(in, rows);
        std::memset(buffer.data(), 0, buffer.size());
        TIFFReadEncodedStrip(in, strip, buffer.data(), bytes);
        if (TIFFWriteEncodedStrip(out, strip, buffer.data(), bytes) == -1) return false;
    }
    return true;
}

bool copyByRows(RowSource& source, RowSink& sink, const PixelLayout& layout) {
    std::vector<std::uint8_t> row(layout.rowBytes);
    for (std::uint16_t plane = 0; plane < layout.planes; ++plane) {
        for (std::uint32_t y = 0; y < layout.length; ++y) {
            std::memset(row.data(), 0, row.size());
            source.readRow(y, plane, row.data());
            if (!sink.writeRow(y, plane, row.data())) return false;
        }
    }
    return true;
}

}  // namespace

bool copyPixelData(TIFF* in, TIFF* out) {
    PixelLayout layout;
    if (!describePixels(in, out, layout)) return false;
    if (stripsMatch(in, out, layout)) return copyDecodedStrips(in, out, layout);
    const auto source = makeRowSource(in, layout);
    const auto sink = source ? makeRowSink(out, layout) : nullptr;
    return source && sink && copyByRows(*source, *sink, layout);
}

}  // namespace quillon
