#pragma once
// The invisible text over a fax page: each recognised word drawn in text
// render mode 3 (neither filled nor stroked) over where it is printed, so
// that searching, selecting and copying in a viewer find the page's words
// while the page shows only its image.

#include <memory>
#include <string>
#include <vector>

#include "ocr/recognized_page.h"

class QPDF;
class QPDFObjectHandle;

namespace quillon {

// The PDF page's media box in points, as the fax page's image fills it.
struct TextLayerPage {
    double widthPoints = 0;
    double heightPoints = 0;
};

// The content stream that draws the page's words with font /QuillonText:
// the words of each line from the line's baseline, in the line's type size,
// each stretched (Tz) to its box's width and followed but for the last by a
// blank that reaches to the next word (Tw), so that copied text has its
// spaces and a line reads as one. On a page shown turned (its rotation), the
// words are laid turned with it, so that they read the right way up where
// the viewer shows them. Words become Windows-1252 (the font's encoding);
// characters it lacks become '?'.
std::string textLayerContent(const RecognizedPage& text, const TextLayerPage& page);

// Adds text layers to the pages of one document; they share one font.
class TextLayerWriter {
public:
    explicit TextLayerWriter(QPDF& pdf);
    ~TextLayerWriter();
    // Appends the words' content to the page dictionary's /Contents (a
    // stream) and the font to its /Resources. A page without words is left
    // as it is.
    void add(QPDFObjectHandle& pageDictionary, const RecognizedPage& text, const TextLayerPage& page);

private:
    QPDF& pdf_;
    std::unique_ptr<QPDFObjectHandle> font_;  // made with the first layer
};

}  // namespace quillon
