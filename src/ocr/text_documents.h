#pragma once
// The recognised words of a fax's pages as the documents that digital
// libraries, search indexes and redaction tools keep beside page images:
// hOCR (XHTML with ocr_page, ocr_line and ocrx_word) and ALTO 4 XML. They are
// made from the same words, boxes and confidences as a PDF's text layer.
// Boxes are in pixels of the page image as the PDF shows it: turned by the
// page's rotation, one unit a pixel of the fax's own rows and columns (a
// normal-resolution page is read with its rows repeated; its boxes are
// given back in its own rows).

#include <cstdint>
#include <string>
#include <vector>

#include "ocr/recognized_page.h"
#include "platform/export.h"

namespace quillon {

// A page image as the fax holds it, before any turn.
struct PageImageSize {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
};

struct TextDocumentPages {
    const std::vector<RecognizedPage>& pages;
    const std::vector<PageImageSize>& images;  // one a page, in the same order
    std::string imageName;                     // the file that shows the pages (the PDF)
    std::string software;                      // the program and its version
};

QUILLON_EXPORT std::string hocrDocument(const TextDocumentPages& document);
QUILLON_EXPORT std::string altoDocument(const TextDocumentPages& document);

}  // namespace quillon
