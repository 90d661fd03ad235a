#pragma once
// A libtiff file handle that closes itself, opened with libtiff's own
// allocations bounded by the copy limit.

#include <memory>
#include <string>

#include <tiffio.h>

namespace quillon {

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// Opens path in libtiff's mode; null when it cannot be opened. No strip or
// offset table a header claims can take more than maxCopyBufferBytes.
TiffFile openTiff(const std::string& path, const char* mode);

}  // namespace quillon
