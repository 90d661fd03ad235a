#include "tiff/memory_tiff.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

// Up to size bytes of data from position on, which moves past them.
tmsize_t copyOut(const void* data, std::uint64_t total, std::uint64_t& position, void* into, tmsize_t size) {
    if (size <= 0 || position >= total) return 0;
    const std::size_t count = std::min<std::uint64_t>(std::uint64_t(size), total - position);
    std::memcpy(into, static_cast<const char*>(data) + position, count);
    position += count;
    return tmsize_t(count);
}

TiffBytes& held(thandle_t handle) { return *static_cast<TiffBytes*>(handle); }

tmsize_t readHeld(thandle_t handle, void* into, tmsize_t size) {
    TiffBytes& file = held(handle);
    return copyOut(file.bytes.data(), file.bytes.size(), file.at, into, size);
}

// Nothing is written: the bytes are a source.
tmsize_t writeNothing(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekHeld(thandle_t handle, toff_t offset, int whence) {
    TiffBytes& file = held(handle);
    const toff_t base = whence == SEEK_CUR ? file.at : whence == SEEK_END ? file.bytes.size() : 0;
    file.at = base + offset;
    return file.at;
}

toff_t sizeOfHeld(thandle_t handle) { return held(handle).bytes.size(); }

// The bytes themselves: libtiff only reads a file it opened for reading.
int mapHeld(thandle_t handle, void** base, toff_t* size) {
    TiffBytes& file = held(handle);
    if (file.bytes.empty()) return 0;
    *base = const_cast<std::uint8_t*>(file.bytes.data());
    *size = file.bytes.size();
    return 1;
}

MemoryTiff& fileOf(thandle_t handle) { return *static_cast<MemoryTiff*>(handle); }

tmsize_t readBytes(thandle_t handle, void* into, tmsize_t size) {
    MemoryTiff& file = fileOf(handle);
    return copyOut(file.bytes.data(), file.bytes.size(), file.position, into, size);
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

TIFF* openTiffBytes(TiffBytes& file, const std::string& name, const char* mode) {
    file.at = 0;
    return TIFFClientOpen(name.c_str(), mode, &file, readHeld, writeNothing, seekHeld, closeFile, sizeOfHeld, mapHeld,
                          noUnmapping);
}

TIFF* openMemoryTiff(MemoryTiff& file, const char* mode) {
    return TIFFClientOpen("output", mode, &file, readBytes, writeBytes, seekTo, closeFile, sizeOf, noMapping,
                          noUnmapping);
}

}  // namespace quillon
