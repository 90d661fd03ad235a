#pragma once
// The parts of the program that live in modules (platform/module_loader.h),
// loaded by the first run that needs them: the PDF writer and reader
// (quillon-pdf.so, qpdf) and text recognition (quillon-ocr.so, Tesseract).
// Runs to TIFF load neither. Programs that link a part themselves (fuzz
// targets) hand it over.

#include <string>

#include "ocr/recognized_page.h"
#include "pdf/fax_pdf.h"
#include "pdf/pdf_document_info.h"
#include "pdf/pdf_page_images.h"

namespace quillon {

void useFaxPdfWriter(FaxPdfWriter writer);
// The part handed over, or else the module's, loaded on first use; nullptr
// when the module cannot be loaded, error then says why.
FaxPdfWriter faxPdfWriter(std::string& error);
PdfPageImageReader pdfPageImageReader(std::string& error);
PdfInfoTextReader pdfInfoTextReader(std::string& error);

void usePageRecognition(PageRecognition recognition);
// In a build without text recognition (CMake option QUILLON_OCR=OFF), always
// nullptr, and error says that recognition is not in this build.
PageRecognition pageRecognition(std::string& error);

}  // namespace quillon
