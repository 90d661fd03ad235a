#pragma once
// The PDF writer lives in the module quillon-pdf.so, so that runs to TIFF
// never load qpdf; programs that link the writer (fuzz targets) hand it over.

#include <string>

#include "pdf/fax_pdf.h"

namespace quillon {

void useFaxPdfWriter(FaxPdfWriter writer);
// The writer handed over, or else the module's, loaded on first use; nullptr
// when the module cannot be loaded, error then says why.
FaxPdfWriter faxPdfWriter(std::string& error);

}  // namespace quillon
