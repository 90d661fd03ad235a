#pragma once
// The XMP metadata of a PDF/A-2b file: the document information again, as
// PDF/A requires, and the PDF/A identification.

#include "pdf/fax_pdf.h"

namespace quillon {

std::string xmpPacket(const PdfDocumentInfo& info);

}  // namespace quillon
