#pragma once
// A TIFF file that libtiff writes into memory: an output is made whole in
// memory and then written out in one pass, so that its checksum is taken
// from its bytes as they go to the file (libtiff itself seeks back to link
// each page's directory, which a file written in one pass cannot follow).

#include <tiffio.h>

#include <cstdint>
#include <string>

namespace quillon {

struct MemoryTiff {
    std::string bytes;
    std::uint64_t position = 0;
};

// Opens file for libtiff in mode ("w", ...); nullptr when libtiff refuses.
// The file must outlive the TIFF handle.
TIFF* openMemoryTiff(MemoryTiff& file, const char* mode);

}  // namespace quillon
