#pragma once
// Opens a TIFF file with libtiff by its UTF-8 path: on Windows through
// TIFFOpenW, since TIFFOpen takes its path in the ANSI code page.

#include <string>

typedef struct tiff TIFF;

namespace quillon {

TIFF* openTiffFile(const std::string& path, const char* mode);

}  // namespace quillon
