#include "support/memory_tiff.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quillon::test {

namespace {

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t size) {
    auto* m = static_cast<MemoryTiff*>(handle);
    if (size <= 0 || m->position >= m->bytes.size()) return 0;
    const auto n = std::min<std::uint64_t>(static_cast<std::uint64_t>(size), m->bytes.size() - m->position);
    std::memcpy(buffer, m->bytes.data() + m->position, n);
    m->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t writeMemory(thandle_t handle, void* buffer, tmsize_t size) {
    auto* m = static_cast<MemoryTiff*>(handle);
    if (size <= 0) return 0;
    const std::uint64_t end = m->position + static_cast<std::uint64_t>(size);
    if (end > m->bytes.size()) m->bytes.resize(end);
    std::memcpy(m->bytes.data() + m->position, buffer, static_cast<std::size_t>(size));
    m->position = end;
    return size;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* m = static_cast<MemoryTiff*>(handle);
    const std::uint64_t base = whence == SEEK_CUR ? m->position : whence == SEEK_END ? m->bytes.size() : 0;
    m->position = base + offset;
    return m->position;
}

int closeMemory(thandle_t) { return 0; }
toff_t sizeMemory(thandle_t handle) { return static_cast<MemoryTiff*>(handle)->bytes.size(); }
int mapMemory(thandle_t, void**, toff_t*) { return 0; }
void unmapMemory(thandle_t, void*, toff_t) {}

}  // namespace

TIFF* openMemory(MemoryTiff& m, const char* mode) {
    m.position = 0;
    return TIFFClientOpen("page", mode, &m, readMemory, writeMemory, seekMemory, closeMemory, sizeMemory,
                          mapMemory, unmapMemory);
}

}  // namespace quillon::test
