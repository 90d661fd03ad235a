#include "ocr/module/page_turn.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

// A page of 11 x 3 pixels (rows of two bytes, padding bits set like white).
PagePixels pageWithBlack(std::uint32_t width, std::uint32_t rows, std::vector<std::pair<int, int>> black) {
    PagePixels pixels;
    pixels.width = width;
    pixels.rows = rows;
    pixels.bytesPerRow = (width + 7) / 8;
    pixels.dpi = 200;
    pixels.bits.assign(std::size_t(rows) * pixels.bytesPerRow, 0xFF);
    for (const auto& [x, y] : black) pixels.bits[std::size_t(y) * pixels.bytesPerRow + x / 8] &= ~(0x80 >> (x % 8));
    return pixels;
}

TEST(PageTurn, PixelsGoWhereAClockwiseTurnTakesThem) {
    // The top left corner and a pixel of the last column, each way round.
    const PagePixels page = pageWithBlack(11, 3, {{0, 0}, {10, 1}});
    const struct {
        int degrees;
        std::uint32_t width, rows;
        std::vector<std::pair<int, int>> black;
    } kTurns[] = {
        {0, 11, 3, {{0, 0}, {10, 1}}},
        {90, 3, 11, {{2, 0}, {1, 10}}},   // the left column becomes the top row
        {180, 11, 3, {{10, 2}, {0, 1}}},
        {270, 3, 11, {{0, 10}, {1, 0}}},
        {45, 11, 3, {{0, 0}, {10, 1}}},   // no quarter turn: as it is
    };
    for (const auto& turn : kTurns) {
        SCOPED_TRACE(turn.degrees);
        const PagePixels turned = turnedClockwise(page, turn.degrees);
        EXPECT_EQ(turned.width, turn.width);
        EXPECT_EQ(turned.rows, turn.rows);
        EXPECT_EQ(turned.dpi, 200u);
        EXPECT_EQ(turned.bits, pageWithBlack(turn.width, turn.rows, turn.black).bits);
    }
    // Four quarter turns, and a turn and its opposite, give the page back.
    PagePixels round = page;
    for (int i = 0; i < 4; ++i) round = turnedClockwise(round, 90);
    EXPECT_EQ(round.bits, page.bits);
    EXPECT_EQ(turnedClockwise(turnedClockwise(page, 90), 270).bits, page.bits);
}

}  // namespace
}  // namespace quillon
