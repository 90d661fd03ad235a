#include "tiff/tiff_description.h"

#include <tiffio.h>

#include "tiff/tiff_file.h"

namespace quillon {

std::optional<std::string> tiffImageDescription(const std::string& path) {
    TIFF* tif = openTiffFile(path, "r");
    if (!tif) return std::nullopt;
    std::optional<std::string> description;
    if (const char* text = nullptr; TIFFGetField(tif, TIFFTAG_IMAGEDESCRIPTION, &text) && text) description = text;
    TIFFClose(tif);
    return description;
}

}  // namespace quillon
