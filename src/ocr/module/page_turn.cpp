#include "ocr/module/page_turn.h"

namespace quillon {

PagePixels turnedClockwise(const PagePixels& pixels, int degrees) {
    if (degrees != 90 && degrees != 180 && degrees != 270) return pixels;
    const bool quarter = degrees != 180;
    PagePixels turned;
    turned.width = quarter ? pixels.rows : pixels.width;
    turned.rows = quarter ? pixels.width : pixels.rows;
    turned.bytesPerRow = (turned.width + 7) / 8;
    turned.dpi = pixels.dpi;
    turned.bits.assign(std::size_t(turned.rows) * turned.bytesPerRow, 0xFF);
    for (std::uint32_t row = 0; row < pixels.rows; ++row) {
        const std::uint8_t* from = pixels.bits.data() + std::size_t(row) * pixels.bytesPerRow;
        for (std::uint32_t byte = 0; byte < pixels.bytesPerRow; ++byte) {
            if (from[byte] == 0xFF) continue;  // eight white pixels: most of a page
            for (std::uint32_t bit = 0; bit < 8; ++bit) {
                const std::uint32_t x = byte * 8 + bit;
                if (x >= pixels.width || (from[byte] & (0x80 >> bit))) continue;
                // Clockwise by 90: the left column becomes the top row.
                const std::uint32_t toX = degrees == 180 ? pixels.width - 1 - x : degrees == 90 ? pixels.rows - 1 - row : row;
                const std::uint32_t toRow = degrees == 180 ? pixels.rows - 1 - row : degrees == 90 ? x : pixels.width - 1 - x;
                turned.bits[std::size_t(toRow) * turned.bytesPerRow + toX / 8] &= std::uint8_t(~(0x80 >> (toX % 8)));
            }
        }
    }
    return turned;
}

}  // namespace quillon
