// The entry of the module quillon-pdf.so (platform/module_loader.h).

#include "pdf/fax_pdf.h"
#include "platform/module_loader.h"

QUILLON_MODULE_INTERFACE;

extern "C" QUILLON_EXPORT quillon::FaxPdfWriter quillonFaxPdfWriter() { return &quillon::writeFaxPdf; }
