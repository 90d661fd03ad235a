#pragma once
// TIFF files in memory for libtiff: a source read once into memory, and an
// output made whole in memory and then written out in one pass, so that its
// checksum is taken from its bytes as they go to the file (libtiff itself
// seeks back to link each page's directory, which a file written in one pass
// cannot follow).

#include <tiffio.h>

#include <cstdint>
#include <span>
#include <string>

namespace quillon {

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

// A TIFF file in memory for writing.
struct MemoryTiff {
    std::string bytes;
    std::uint64_t position = 0;
};

// Opens file for libtiff in mode ("w", ...); nullptr when libtiff refuses.
// The file must outlive the TIFF handle.
TIFF* openMemoryTiff(MemoryTiff& file, const char* mode);

}  // namespace quillon
