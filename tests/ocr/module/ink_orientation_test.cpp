#include "ocr/module/ink_orientation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/printed_page.h"

namespace quillon {
namespace {

using test::PrintedPage;
using test::Sheet;

// A printed page as recognition gets it: white as 1 bits, standard rows
// given twice so that pixels are square.
PagePixels recognitionPixels(const PrintedPage& page, unsigned linesPerInch) {
    const test::Bitmap& bitmap = page.bitmap;
    const std::uint32_t repeat = linesPerInch == 100 ? 2 : 1;
    PagePixels pixels;
    pixels.width = bitmap.width;
    pixels.rows = bitmap.rows * repeat;
    pixels.bytesPerRow = std::uint32_t(bitmap.bytesPerRow());
    pixels.dpi = 200;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (std::uint32_t copy = 0; copy < repeat; ++copy)
            for (std::size_t i = 0; i < bitmap.bytesPerRow(); ++i)
                pixels.bits.push_back(std::uint8_t(~bitmap.bits[row * bitmap.bytesPerRow() + i]));
    return pixels;
}

// Pages of prose turned over are told by their ink alone, at both
// resolutions; no upright page is taken for turned, whatever it holds (a
// table, a price list in small type, a notice in large type). Pages that
// give no hint go the usual way (read as faxed first).
TEST(InkOrientation, PagesTurnedOverAreToldFromTheirInk) {
    for (const unsigned linesPerInch : {200u, 100u})
        for (const Sheet sheet : test::kEverySheet) {
            SCOPED_TRACE(testing::Message() << "sheet " << int(sheet) << " at " << linesPerInch);
            const PrintedPage& printed = test::printedPage(sheet, linesPerInch);
            EXPECT_FALSE(inkLooksUpsideDown(recognitionPixels(printed, linesPerInch))) << "upright";
            if (sheet == Sheet::Letter || sheet == Sheet::Memo)
                EXPECT_TRUE(inkLooksUpsideDown(recognitionPixels(test::turnedUpsideDown(printed), linesPerInch)));
        }

    // The letter turned over and cut below its first lines: four are too
    // few to go by, six are enough.
    const PrintedPage turned = test::turnedUpsideDown(test::printedPage(Sheet::Letter, 200));
    std::vector<unsigned> lineTops;
    for (const test::PrintedWord& word : turned.words) lineTops.push_back(word.top);
    std::sort(lineTops.begin(), lineTops.end());
    lineTops.erase(std::unique(lineTops.begin(), lineTops.end(), [](unsigned a, unsigned b) { return b - a < 15; }),
                   lineTops.end());
    ASSERT_GE(lineTops.size(), 7u);
    for (const auto& [lines, hint] : {std::pair{4, false}, std::pair{6, true}}) {
        SCOPED_TRACE(lines);
        PagePixels cut = recognitionPixels(turned, 200);
        std::fill(cut.bits.begin() + std::ptrdiff_t(std::size_t(lineTops[std::size_t(lines)] - 2) * cut.bytesPerRow),
                  cut.bits.end(), 0xFF);
        EXPECT_EQ(inkLooksUpsideDown(cut), hint);
    }
    PagePixels blank = recognitionPixels(turned, 200);
    std::fill(blank.bits.begin(), blank.bits.end(), 0xFF);
    EXPECT_FALSE(inkLooksUpsideDown(blank)) << "a blank page";
}

}  // namespace
}  // namespace quillon
