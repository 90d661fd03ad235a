#include "support/fax_page_encoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>

namespace quillon::test {

namespace {

// A TIFF file held in memory, so that coding a page needs no temporary file.
struct MemoryTiff {
    std::vector<std::uint8_t> bytes;
    std::uint64_t position = 0;
};

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

TIFF* openMemory(MemoryTiff& m, const char* mode) {
    m.position = 0;
    return TIFFClientOpen("page", mode, &m, readMemory, writeMemory, seekMemory, closeMemory, sizeMemory,
                          mapMemory, unmapMemory);
}

bool writePage(MemoryTiff& m, const std::uint8_t* bits, unsigned width, unsigned rows, FaxPageCoding coding) {
    TIFF* tif = openMemory(m, "w");
    if (!tif) return false;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, rows);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);  // 1 bits are black
    TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows);
    if (coding == FaxPageCoding::T6) {
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    } else {
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, coding == FaxPageCoding::T4NoFillBits ? 0 : GROUP3OPT_FILLBITS);
    }
    const std::size_t stride = (width + 7) / 8;
    std::vector<std::uint8_t> line(stride);
    bool ok = true;
    for (unsigned r = 0; r < rows && ok; ++r) {
        std::memcpy(line.data(), bits + r * stride, stride);  // libtiff may scribble on the row it codes
        ok = TIFFWriteScanline(tif, line.data(), r, 0) >= 0;
    }
    TIFFClose(tif);
    return ok;
}

}  // namespace

std::vector<std::uint8_t> encodeFaxPage(const std::uint8_t* bits, unsigned width, unsigned rows,
                                        FaxPageCoding coding) {
    if (width == 0 || rows == 0) return {};
    MemoryTiff m;
    if (!writePage(m, bits, width, rows, coding)) return {};
    TIFF* tif = openMemory(m, "r");
    if (!tif) return {};
    std::vector<std::uint8_t> coded;
    uint64_t* byteCounts = nullptr;
    if (TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &byteCounts) && byteCounts && byteCounts[0] > 0) {
        coded.resize(static_cast<std::size_t>(byteCounts[0]));
        const tmsize_t got = TIFFReadRawStrip(tif, 0, coded.data(), static_cast<tmsize_t>(coded.size()));
        coded.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    TIFFClose(tif);
    return coded;
}

}  // namespace quillon::test
