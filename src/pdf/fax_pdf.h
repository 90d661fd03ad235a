#pragma once
// Writing the Group 4 pages of a fax as one PDF (aimed at PDF/A-2b): one
// page per image, each showing its coded data as a CCITT image, unchanged.

#include <cstdint>
#include <string>
#include <vector>

#include "ocr/recognized_page.h"

namespace quillon {

struct PdfDocumentInfo {
    std::string title;     // bytes; made valid UTF-8
    std::string producer;
    std::int64_t created = 0;  // seconds since 1970, UTC
};

// Reads the pages of g4Tiff (Group 4, fill order 1, each page in one strip,
// as the direct road writes them for a PDF) and writes pdfPath, reading each page's data only while it
// is written. False when a page cannot be read or the PDF cannot be written;
// pdfPath may then hold a partial file. With pageTexts (one per page), each
// page gets its words as an invisible text layer over the image.
bool writeFaxPdf(const std::string& g4Tiff, const PdfDocumentInfo& info, const std::string& pdfPath,
                 const std::vector<RecognizedPage>* pageTexts = nullptr);

}  // namespace quillon
