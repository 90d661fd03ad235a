#pragma once
// The image each page of a fax PDF shows, with its data as stored, so that
// an output can be checked against the pages that were written into it.

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

struct PdfPageImage {
    // Empty when the page shows one CCITT Group 4 image; else why it cannot
    // be checked (no image, several, another coding).
    std::string problem;
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    bool blackIs1 = false;
    std::vector<std::uint8_t> data;  // the Group 4 data, undecoded
};

// The pages of the PDF in order. False, with why, when it cannot be read as
// a PDF at all.
bool readPdfPageImages(const std::string& path, std::vector<PdfPageImage>& pages, std::string& why);
using PdfPageImageReader = bool (*)(const std::string& path, std::vector<PdfPageImage>& pages, std::string& why);

}  // namespace quillon
