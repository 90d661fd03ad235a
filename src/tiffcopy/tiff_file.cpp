#include "tiffcopy/tiff_file.h"

#include "tiffcopy/copy_limits.h"

namespace quillon {

TiffFile openTiff(const std::string& path, const char* mode) {
    TIFFOpenOptions* openOptions = TIFFOpenOptionsAlloc();
    if (!openOptions) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(openOptions, static_cast<tmsize_t>(maxCopyBufferBytes));
    TiffFile file(TIFFOpenExt(path.c_str(), mode, openOptions));
    TIFFOpenOptionsFree(openOptions);
    return file;
}

}  // namespace quillon
