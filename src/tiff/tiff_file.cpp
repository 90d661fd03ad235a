#include "tiff/tiff_file.h"

#include <tiffio.h>

#include "platform/paths.h"

namespace quillon {

TIFF* openTiffFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    return TIFFOpenW(platform::fileSystemPath(path).c_str(), mode);
#else
    return TIFFOpen(path.c_str(), mode);
#endif
}

}  // namespace quillon
