#include "tiff/memory_tiff.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

MemoryTiff& fileOf(thandle_t handle) { return *static_cast<MemoryTiff*>(handle); }

tmsize_t readBytes(thandle_t handle, void* into, tmsize_t size) {
    MemoryTiff& file = fileOf(handle);
    if (size <= 0 || file.position >= file.bytes.size()) return 0;
    const std::size_t count = std::min<std::uint64_t>(std::uint64_t(size), file.bytes.size() - file.position);
    std::memcpy(into, file.bytes.data() + file.position, count);
    file.position += count;
    return tmsize_t(count);
}

tmsize_t writeBytes(thandle_t handle, void* from, tmsize_t size) {
    MemoryTiff& file = fileOf(handle);
    if (size < 0 || file.position > std::numeric_limits<std::uint32_t>::max()) return -1;  // classic TIFF ends at 4 GiB
    const std::size_t end = std::size_t(file.position) + std::size_t(size);
    if (end > file.bytes.size()) file.bytes.resize(end);
    std::memcpy(file.bytes.data() + file.position, from, std::size_t(size));
    file.position = end;
    return size;
}

toff_t seekTo(thandle_t handle, toff_t offset, int whence) {
    MemoryTiff& file = fileOf(handle);
    const std::int64_t base =
        whence == SEEK_CUR ? std::int64_t(file.position) : whence == SEEK_END ? std::int64_t(file.bytes.size()) : 0;
    const std::int64_t target = base + std::int64_t(offset);
    if (target < 0) return toff_t(-1);
    file.position = std::uint64_t(target);
    return file.position;
}

int closeFile(thandle_t) { return 0; }
toff_t sizeOf(thandle_t handle) { return fileOf(handle).bytes.size(); }
int noMapping(thandle_t, void**, toff_t*) { return 0; }
void noUnmapping(thandle_t, void*, toff_t) {}

}  // namespace

TIFF* openMemoryTiff(MemoryTiff& file, const char* mode) {
    return TIFFClientOpen("output", mode, &file, readBytes, writeBytes, seekTo, closeFile, sizeOf, noMapping,
                          noUnmapping);
}

}  // namespace quillon
