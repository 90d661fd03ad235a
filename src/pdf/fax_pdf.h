#pragma once
// Writing the Group 4 pages of a fax as one PDF (aimed at PDF/A-2b): one
// page per image, each showing its coded data as a CCITT image, unchanged.

#include <cstdint>
#include <string>
#include <vector>

#include "ocr/recognized_page.h"
#include "platform/byte_sink.h"
#include "pdf/coded_pages.h"

namespace quillon {

struct PdfDocumentInfo {
    std::string title;     // bytes; made valid UTF-8
    std::string producer;
    std::int64_t created = 0;  // seconds since 1970, UTC
    std::string runRecord;     // kept under kRunRecordKey when not empty
};

// The document information entry of a run's record (run/convert/resume_record.h).
constexpr const char* kRunRecordKey = "/QuillonRun";

// Writes the pages as a PDF into out, reading each page's data only while
// it is written. False when there is no page, a page cannot be read or out
// refuses the bytes; out may then hold part of a PDF. With pageTexts
// (one per page), each page gets its words as an invisible text layer over
// the image, and a page recognised turned is shown turned (/Rotate).
bool writeFaxPdf(CodedPages& pages, const PdfDocumentInfo& info, ByteSink& out,
                 const std::vector<RecognizedPage>* pageTexts);
using FaxPdfWriter = bool (*)(CodedPages& pages, const PdfDocumentInfo& info, ByteSink& out,
                              const std::vector<RecognizedPage>* pageTexts);

}  // namespace quillon
