#pragma once
// What text recognition found on one fax page: its words with where they
// are printed, and the page's text as lines.

#include <cstdint>
#include <string>
#include <vector>

#include "ocr/page_pixels.h"

namespace quillon {

struct RecognizedWord {
    std::string text;  // UTF-8
    // The word's box in pixels of the page as written: columns left to
    // right - 1, rows top to bottom - 1, row 0 at the top.
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    float confidence = 0;  // 0 to 100
};

struct RecognizedPage {
    bool recognized = false;  // false: recognition failed; the page has no text
    std::vector<RecognizedWord> words;
    std::string text;  // UTF-8, lines ending in '\n', paragraphs apart by an empty line

    // The mean of the words' confidences; 0 without words.
    double meanConfidence() const;
};

// Recognises a page with the calling thread's own recognizer for the
// languages; the page is not recognized when they cannot be loaded. The
// module quillon-ocr.so gives it.
using PageRecognition = RecognizedPage (*)(const std::string& languages, const PagePixels& pixels);

}  // namespace quillon
