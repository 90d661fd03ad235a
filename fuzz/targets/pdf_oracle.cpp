// qpdf's view of a PDF file, for the oracles. qpdf 11's headers build as
// C++17 only under clang: this file is kept apart for that.

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include "pdf_oracle.h"

namespace quillon::fuzz {

int pdfPageCount(const std::string& path) {
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(path.c_str());
        if (pdf.anyWarnings()) return -1;
        return int(QPDFPageDocumentHelper(pdf).getAllPages().size());
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace quillon::fuzz
