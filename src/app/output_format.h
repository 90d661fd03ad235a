#pragma once
// The kind of file a conversion writes: Group 4 TIFF, or PDF with the same
// Group 4 pages.

#include <string_view>

namespace quillon {

enum class OutputFormat { Tiff, Pdf };

// The extension of output names: ".tif" or ".pdf".
constexpr const char* outputExtension(OutputFormat format) { return format == OutputFormat::Pdf ? ".pdf" : ".tif"; }

// True when path ends in ".pdf", in any case: a /sf= file of that name is
// written as PDF.
bool namesPdf(std::string_view path);

}  // namespace quillon
