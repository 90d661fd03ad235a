#pragma once
// What text recognition found on one fax page: how the page is turned to be
// read, its lines of words with where they are printed, and its text.

#include <cstdint>
#include <string>
#include <vector>

#include "ocr/page_pixels.h"
#include "platform/export.h"

namespace quillon {

// Whether a page is turned the right way up before it is read.
enum class PageOrientation {
    Detect,  // Tesseract's orientation detection decides (osd.traineddata)
    AsFaxed  // every page is read as the fax holds it
};

// A box in pixels of the page as recognised (turned the right way up, rows
// repeated to square pixels): columns left to right - 1, rows top to
// bottom - 1, row 0 at the top.
struct PixelBox {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct RecognizedWord {
    std::string text;  // UTF-8
    PixelBox box;
    float confidence = 0;  // 0 to 100
};

// One printed line: its words in reading order on one baseline.
struct RecognizedLine {
    // Two points of the baseline (it may slope on a skewed page).
    double baselineX1 = 0, baselineY1 = 0, baselineX2 = 0, baselineY2 = 0;
    // From the bottom of the descenders to the top of the ascenders, in
    // pixels: the line's type size.
    double height = 0;
    std::vector<RecognizedWord> words;
};

struct RecognizedPage {
    bool recognized = false;  // false: recognition failed; the page has no text
    // Degrees (0, 90, 180, 270) the page is turned clockwise to be read, and
    // so to be shown (the PDF page's /Rotate).
    int rotation = 0;
    // The orientation detector's confidence in its finding (Tesseract's
    // scale: 15 is fairly sure); negative when nothing was detected.
    float orientationConfidence = -1;
    // The size of the page as recognised, the frame of the boxes.
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::vector<RecognizedLine> lines;
    // UTF-8: the lines' words joined by blanks, each line ending in '\n',
    // paragraphs apart by an empty line.
    std::string text;

    QUILLON_EXPORT std::size_t wordCount() const;
    // The mean of the words' confidences; 0 without words.
    QUILLON_EXPORT double meanConfidence() const;
};

// Recognises a page with the calling thread's own recognizer for the
// languages; the page is not recognized when they cannot be loaded. The
// module quillon-ocr.so gives it.
using PageRecognition = RecognizedPage (*)(const std::string& languages, PageOrientation orientation,
                                           const PagePixels& pixels);

}  // namespace quillon
