// The entries of the module quillon-pdf.so (platform/module_loader.h).

#include "pdf/fax_pdf.h"
#include "pdf/pdf_document_info.h"
#include "pdf/pdf_page_images.h"
#include "platform/module_loader.h"

QUILLON_MODULE_INTERFACE;

extern "C" QUILLON_EXPORT quillon::FaxPdfWriter quillonFaxPdfWriter() { return &quillon::writeFaxPdf; }
extern "C" QUILLON_EXPORT quillon::PdfInfoTextReader quillonPdfInfoText() { return &quillon::readPdfInfoText; }
extern "C" QUILLON_EXPORT quillon::PdfPageImageReader quillonPdfPageImages() { return &quillon::readPdfPageImages; }
