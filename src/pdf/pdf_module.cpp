// The entry of the module quillon-pdf.so (platform/module_loader.h).

#include "pdf/fax_pdf.h"

extern "C" quillon::FaxPdfWriter quillonFaxPdfWriter() { return &quillon::writeFaxPdf; }
