#pragma once
// Reading Tesseract's results into the lines of a page: the words of each
// printed line with the line's baseline and type size, in reading order,
// without what Tesseract itself marks as noise.

#include "ocr/recognized_page.h"

namespace tesseract {
class ResultIterator;
}

namespace quillon {

// Words below this confidence (0 to 100) are left out: Tesseract gives them
// to specks, rules and the strokes of drawings it takes for letters, while
// printed words, even on a poor fax, are read with 50 and more.
inline constexpr float kNoiseConfidence = 25;

// Fills page.lines and page.text from the results, leaving out words of
// blocks that Tesseract finds to be pictures, rules or noise, and words below
// kNoiseConfidence.
void readTextLines(tesseract::ResultIterator& results, RecognizedPage& page);

}  // namespace quillon
