#pragma once
// Opens a TIFF file with libtiff: by its UTF-8 path (on Windows through
// TIFFOpenW, since TIFFOpen takes its path in the ANSI code page), or held
// in memory through libtiff's client calls.

#include <cstdint>
#include <span>
#include <string>

typedef struct tiff TIFF;

namespace quillon {

TIFF* openTiffFile(const std::string& path, const char* mode);

// A TIFF file in memory for reading: the bytes, which the caller keeps
// alive (with this) while the handle is open, and where reading is.
struct TiffBytes {
    std::span<const std::uint8_t> bytes;
    std::uint64_t at = 0;
};

// Opens the bytes for reading, name standing for the file in libtiff's
// messages. Mode "r" lets libtiff read them in place, as it reads a file it
// maps by its path; "rm" copies every read.
TIFF* openTiffBytes(TiffBytes& file, const std::string& name, const char* mode);

}  // namespace quillon
