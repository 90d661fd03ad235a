#pragma once
// What poppler's tools see in a PDF: its images, its page sizes and its
// pages rendered to bilevel pixels.

#include <cstdint>
#include <string>
#include <vector>

#include "support/pixel_hash.h"

namespace quillon::test {

// One row of `pdfimages -list`.
struct PdfImage {
    int page = 0;
    std::string type;      // "image"
    unsigned width = 0;
    unsigned height = 0;
    std::string color;     // "gray"
    int components = 0;
    int bitsPerComponent = 0;
    std::string encoding;  // "ccitt"
};

std::vector<PdfImage> listPdfImages(const std::string& pdf);

// The bytes of the images' data in the PDF (the /Length of every image
// stream, as `qpdf --json` lists them), to tell what the rest of the file costs.
std::uint64_t pdfImageBytes(const std::string& pdf);

// Width and height of every page's media box in points (`pdfinfo`).
struct PdfPageSize {
    double width = 0;
    double height = 0;
};
std::vector<PdfPageSize> pdfPageSizes(const std::string& pdf);

// A word of the text layer as `pdftotext -bbox` finds it: its page (from 1)
// and its box in points of the page as a viewer shows it (turned by its
// /Rotate), from the top left corner.
struct PdfWord {
    int page = 0;
    std::string text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::vector<PdfWord> pdfWords(const std::string& pdf);

// Page `page` (from 1) rendered by `pdftocairo -mono` at xDpi x yDpi, cut to
// width x rows (pdftoppm smooths images even at their own resolution, so its
// pixels differ at the edges of black runs). Fails the current test when the rendering is smaller or has
// black beyond that size: a page edge that falls just past a whole pixel
// adds one white column or row.
Bitmap renderPdfPage(const std::string& pdf, int page, double xDpi, double yDpi, unsigned width, unsigned rows);

}  // namespace quillon::test
