#pragma once
// The ImageDescription of a TIFF file's first page, read through libtiff.

#include <optional>
#include <string>

namespace quillon {

// Nothing when the file cannot be opened as TIFF or its first page has none.
std::optional<std::string> tiffImageDescription(const std::string& path);

}  // namespace quillon
