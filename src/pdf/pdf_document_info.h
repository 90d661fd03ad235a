#pragma once
// One text entry of a PDF file's document information, read through qpdf.

#include <optional>
#include <string>

namespace quillon {

// Nothing when the file cannot be read as PDF or has no such text entry.
std::optional<std::string> readPdfInfoText(const std::string& path, const std::string& key);
using PdfInfoTextReader = std::optional<std::string> (*)(const std::string& path, const std::string& key);

}  // namespace quillon
