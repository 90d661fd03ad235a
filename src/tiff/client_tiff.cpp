#include "tiff/client_tiff.h"

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
    if (size <= 0) return 0;
    const std::size_t count = file.bytes.readAt(file.at, static_cast<std::uint8_t*>(into), std::size_t(size));
    file.at += count;
    return tmsize_t(count);
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

// Held bytes themselves: libtiff only reads a file it opened for reading.
// A file read through its handle is not mapped.
int mapHeld(thandle_t handle, void** base, toff_t* size) {
    const std::optional<std::span<const std::uint8_t>> bytes = held(handle).bytes.held();
    if (!bytes || bytes->empty()) return 0;
    *base = const_cast<std::uint8_t*>(bytes->data());
    *size = bytes->size();
    return 1;
}

int closeFile(thandle_t) { return 0; }
int noMapping(thandle_t, void**, toff_t*) { return 0; }
void noUnmapping(thandle_t, void*, toff_t) {}

}  // namespace

TIFF* openTiffBytes(TiffBytes& file, const std::string& name, const char* mode) {
    file.at = 0;
    return TIFFClientOpen(name.c_str(), mode, &file, readHeld, writeNothing, seekHeld, closeFile, sizeOfHeld, mapHeld,
                          noUnmapping);
}

struct StreamedTiffCalls {
    static StreamedTiff& of(thandle_t handle) { return *static_cast<StreamedTiff*>(handle); }

    static tmsize_t read(thandle_t handle, void* into, tmsize_t size) {
        StreamedTiff& file = of(handle);
        if (file.position_ < file.base_) return file.failed_ = true, 0;
        std::uint64_t at = file.position_ - file.base_;
        const tmsize_t count = copyOut(file.tail_.data(), file.tail_.size(), at, into, size);
        file.position_ = file.base_ + at;
        return count;
    }

    static tmsize_t write(thandle_t handle, void* from, tmsize_t size) {
        StreamedTiff& file = of(handle);
        // Classic TIFF ends at 4 GiB.
        if (size < 0 || file.failed_ || file.position_ < file.base_ ||
            file.position_ > std::numeric_limits<std::uint32_t>::max())
            return file.failed_ = true, -1;
        const std::size_t at = std::size_t(file.position_ - file.base_);
        if (at + std::size_t(size) > file.tail_.size()) file.tail_.resize(at + std::size_t(size));
        std::memcpy(file.tail_.data() + at, from, std::size_t(size));
        file.position_ += std::uint64_t(size);
        return size;
    }

    static toff_t seek(thandle_t handle, toff_t offset, int whence) {
        StreamedTiff& file = of(handle);
        const std::int64_t base = whence == SEEK_CUR ? std::int64_t(file.position_)
                                  : whence == SEEK_END ? std::int64_t(file.end())
                                                       : 0;
        const std::int64_t target = base + std::int64_t(offset);
        if (target < 0) return toff_t(-1);
        file.position_ = std::uint64_t(target);
        return file.position_;
    }

    static toff_t size(thandle_t handle) { return of(handle).end(); }
};

TIFF* StreamedTiff::open(const char* mode) {
    return TIFFClientOpen("output", mode, this, StreamedTiffCalls::read, StreamedTiffCalls::write,
                          StreamedTiffCalls::seek, closeFile, StreamedTiffCalls::size, noMapping, noUnmapping);
}

bool StreamedTiff::settle(std::uint64_t upTo) {
    if (failed_) return false;
    const std::size_t count = std::size_t(std::min(upTo, end()) - std::min(upTo, base_));
    if (count == 0) return true;
    failed_ = !sink_.write(reinterpret_cast<const unsigned char*>(tail_.data()), count);
    // A fresh string, so that a large page before does not stay allocated.
    std::string(tail_, count).swap(tail_);
    base_ += count;
    return !failed_;
}

}  // namespace quillon
