#include "ocr/page_pixels.h"

#include <algorithm>
#include <cmath>

#include "codec/fax_decoder.h"
#include "ocr/speckle_filter.h"

namespace quillon {

std::optional<PagePixels> decodeForRecognition(const std::vector<std::uint8_t>& coded, std::uint32_t width,
                                               std::uint32_t rows, double xDpi, double yDpi) {
    if (!(xDpi >= 1 && yDpi >= 1 && xDpi < 10000 && yDpi < 10000) || width == 0 || rows == 0 ||
        width > std::uint32_t(kMaxPageWidth) || coded.size() > std::size_t(INT32_MAX))
        return std::nullopt;
    PagePixels pixels;
    const auto rowRepeat = std::max<std::uint32_t>(1, std::uint32_t(std::lround(xDpi / yDpi)));
    if (std::uint64_t(width) * rows * rowRepeat > kMaxRecognizedPixels) return std::nullopt;

    FaxImage image;
    FaxDecoder decoder;
    // invert 0: white pixels are 1 bits, as recognition reads them.
    decoder.initDecoderT6(coded.data(), std::int32_t(coded.size()), 1, 0, 0, 0);
    decoder.setRawStart(true);
    decoder.setGeometry(std::int32_t(width), std::int32_t(rows));
    if (decoder.findT6Start(T6Search::FromFirstByte) == LoadStatus::Loaded) decoder.decodePageT6(image);

    pixels.width = width;
    pixels.bytesPerRow = (width + 7) / 8;
    pixels.rows = rows * rowRepeat;
    pixels.dpi = std::uint32_t(std::lround(xDpi));
    // Rows the data could not fill stay white, as the PDF shows them.
    const std::uint8_t white = 0xFF;
    pixels.bits.assign(std::size_t(pixels.rows) * pixels.bytesPerRow, white);
    const std::uint32_t decodedRows = image.bytesPerRow == pixels.bytesPerRow ? std::min(image.rows, rows) : 0;
    // On the rows as faxed: a pixel of line noise on a standard page is one
    // row high there, two once the rows are repeated.
    removeSpeckle(image.bitmap, width, decodedRows, image.bytesPerRow);
    for (std::uint32_t row = 0; row < decodedRows; ++row)
        for (std::uint32_t copy = 0; copy < rowRepeat; ++copy)
            std::copy_n(image.row(row), pixels.bytesPerRow,
                        pixels.bits.begin() + std::ptrdiff_t((row * rowRepeat + copy) * pixels.bytesPerRow));
    return pixels;
}

}  // namespace quillon
