#pragma once
// Fax pages of English text printed with the DejaVu fonts (through FreeType,
// one bit per pixel, no smoothing), with rules and boxes: a letter, a memo
// with a table, a price list in small type and a wide notice in large type.
// They are drawn at 200 dots per inch across and at the lines per inch of a
// fax page (100 standard, 200 fine, 400), and each page knows where every
// word is printed. A page is drawn once per process and kept.

#include <string>
#include <vector>

#include "support/pixel_hash.h"

namespace quillon::test {

enum class Font { Serif, Sans, SansBold, Mono };

enum class Sheet { Letter, Memo, PriceList, WideNotice };
inline constexpr Sheet kEverySheet[] = {Sheet::Letter, Sheet::Memo, Sheet::PriceList, Sheet::WideNotice};

// A printed word and the box of its ink in pixels (right and bottom
// exclusive).
struct PrintedWord {
    std::string text;
    unsigned left = 0, top = 0, right = 0, bottom = 0;
};

struct PrintedPage {
    Bitmap bitmap;  // 1 = black
    std::vector<PrintedWord> words;
    // The page's text: its lines in order, words joined by blanks.
    std::vector<std::string> lines;
};

// An 11-inch page, 1728 pixels wide (WideNotice: 2048).
const PrintedPage& printedPage(Sheet sheet, unsigned linesPerInch);

// An 11-inch page 1728 pixels wide of paragraphs in one font and size, set
// from the top until the page is full; lines lists only what fits.
PrintedPage printedProse(Font font, double points, unsigned linesPerInch, const std::vector<std::string>& paragraphs);

// The page turned half way round, as a sheet fed upside down is scanned;
// the words' boxes turn with it.
PrintedPage turnedUpsideDown(const PrintedPage& page);

// The page with about `fraction` of its pixels flipped at random (from a
// seed), as line noise and dust leave them on a fax.
void speckle(Bitmap& bitmap, double fraction, unsigned seed);

}  // namespace quillon::test
