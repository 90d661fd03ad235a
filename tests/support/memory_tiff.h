#pragma once
// A TIFF file held in memory, so that coding or decoding a page with libtiff
// needs no temporary file.

#include <tiffio.h>

#include <cstdint>
#include <vector>

namespace quillon::test {

struct MemoryTiff {
    std::vector<std::uint8_t> bytes;
    std::uint64_t position = 0;
};

// Opens the bytes from their start with libtiff ("r" or "w"); the MemoryTiff
// must outlive the handle.
TIFF* openMemory(MemoryTiff& m, const char* mode);

}  // namespace quillon::test
