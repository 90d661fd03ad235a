#pragma once
// The kind of file a conversion writes: Group 4 TIFF, or PDF with the same
// Group 4 pages.

#include <string>
#include <string_view>

#include "platform/export.h"

namespace quillon {

enum class OutputFormat { Tiff, Pdf };

// The extension of output names: ".tif" or ".pdf".
constexpr const char* outputExtension(OutputFormat format) { return format == OutputFormat::Pdf ? ".pdf" : ".tif"; }

// True when path ends in ".pdf", in any case: a /sf= file of that name is
// written as PDF.
QUILLON_EXPORT bool namesPdf(std::string_view path);
// True when path ends in ".tif" or ".tiff", in any case.
bool namesTiff(std::string_view path);
// The name a /sf= file is written under as PDF: a ".tif" or ".tiff" ending
// (any case) becomes ".pdf", so that no PDF goes out under a TIFF name;
// other names stay as given.
std::string pdfFileName(std::string_view path);

}  // namespace quillon
