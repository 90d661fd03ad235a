#include "tiff/tiff_file.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdio>

#include "platform/paths.h"

namespace quillon {

namespace {

TiffBytes& held(thandle_t handle) { return *static_cast<TiffBytes*>(handle); }

tmsize_t readBytes(thandle_t handle, void* buffer, tmsize_t size) {
    TiffBytes& file = held(handle);
    if (size <= 0 || file.at >= file.bytes.size()) return 0;
    const std::size_t count = std::min<std::uint64_t>(std::uint64_t(size), file.bytes.size() - file.at);
    std::copy_n(file.bytes.begin() + std::ptrdiff_t(file.at), count, static_cast<std::uint8_t*>(buffer));
    file.at += count;
    return tmsize_t(count);
}

// Nothing is written: the bytes are a source.
tmsize_t writeNothing(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekBytes(thandle_t handle, toff_t offset, int whence) {
    TiffBytes& file = held(handle);
    const toff_t base = whence == SEEK_CUR ? file.at : whence == SEEK_END ? file.bytes.size() : 0;
    file.at = base + offset;
    return file.at;
}

int closeNothing(thandle_t) { return 0; }
toff_t sizeOfBytes(thandle_t handle) { return held(handle).bytes.size(); }

// The bytes themselves: libtiff only reads a file it opened for reading.
int mapBytes(thandle_t handle, void** base, toff_t* size) {
    TiffBytes& file = held(handle);
    if (file.bytes.empty()) return 0;
    *base = const_cast<std::uint8_t*>(file.bytes.data());
    *size = file.bytes.size();
    return 1;
}

void unmapNothing(thandle_t, void*, toff_t) {}

}  // namespace

TIFF* openTiffFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    return TIFFOpenW(platform::fileSystemPath(path).c_str(), mode);
#else
    return TIFFOpen(path.c_str(), mode);
#endif
}

TIFF* openTiffBytes(TiffBytes& file, const std::string& name, const char* mode) {
    file.at = 0;
    return TIFFClientOpen(name.c_str(), mode, &file, readBytes, writeNothing, seekBytes, closeNothing, sizeOfBytes,
                          mapBytes, unmapNothing);
}

}  // namespace quillon
