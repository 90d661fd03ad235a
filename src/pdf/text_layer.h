#pragma once
// The invisible text over a fax page: each recognised word drawn in text
// render mode 3 (neither filled nor stroked) over where it is printed, so
// that searching, selecting and copying in a viewer find the page's words
// while the page shows only its image.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ocr/recognized_page.h"

class QPDF;
class QPDFObjectHandle;

namespace quillon {

// The page's size in pixels and in points.
struct TextLayerPage {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    double widthPoints = 0;
    double heightPoints = 0;
};

// The content stream that draws the words with font /QuillonText: each word
// from its box's lower left corner, as high as its box and stretched (Tz) to
// its box's width. Words become Windows-1252 (the font's encoding);
// characters it lacks become '?'.
std::string textLayerContent(const std::vector<RecognizedWord>& words, const TextLayerPage& page);

// Adds text layers to the pages of one document; they share one font.
class TextLayerWriter {
public:
    explicit TextLayerWriter(QPDF& pdf);
    ~TextLayerWriter();
    // Appends the words' content to the page dictionary's /Contents (a
    // stream) and the font to its /Resources. A page without words is left as it is.
    void add(QPDFObjectHandle& pageDictionary, const RecognizedPage& text, const TextLayerPage& page);

private:
    QPDF& pdf_;
    std::unique_ptr<QPDFObjectHandle> font_;  // made with the first layer
};

}  // namespace quillon
