#pragma once
// qpdf's view of a PDF file, for the oracles (C++17, as its file builds).

#include <string>

namespace quillon::fuzz {

// The pages of a PDF file as qpdf reads it, or -1 when qpdf cannot read it
// without a warning.
int pdfPageCount(const std::string& path);

}  // namespace quillon::fuzz
