#include "tiff/tiff_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "platform/local_time.h"
#include "tiff/little_endian.h"

namespace quillon {

namespace {

constexpr std::size_t kSoftwareSize = 22;
constexpr std::size_t kDateTimeSize = 20;
// Two rationals and the two texts that follow the data (and strip tables).
constexpr std::size_t kTailSize = 8 + 8 + kSoftwareSize + kDateTimeSize;

}  // namespace

TiffWriter::~TiffWriter() { closeWriter(); }

int TiffWriter::openWriter(const std::string& path, std::uint16_t byteOrder, const char* mode) {
    closeWriter();
    stripOffsets_.clear();
    stripByteCounts_ = nullptr;
    rowsPerStrip_ = 0;
    // Every number is stored little-endian; another mark would mislabel them.
    if (byteOrder != kLittleEndian) return -1;
    byteOrder_ = byteOrder;
    file_ = std::fopen(path.c_str(), mode);
    if (!file_) file_ = std::fopen(path.c_str(), "wb");
    return file_ ? 0 : -1;
}

int TiffWriter::writeHeader() {
    std::array<std::uint8_t, 8> header{};
    storeU16(header.data(), byteOrder_);
    storeU16(header.data() + 2, 42);
    storeU32(header.data() + 4, 8);
    return file_ && writeBytes(header.data(), header.size()) ? 0 : -1;
}

void TiffWriter::setPageNumber(std::uint16_t pageIndex, std::uint16_t pageCount) {
    directory_.setValue(TiffSlot::PageNumber, pageIndex | (std::uint32_t(pageCount) << 16), 2);
}

void TiffWriter::setImageSize(std::uint32_t width, std::uint32_t length) {
    directory_.setValue(TiffSlot::ImageWidth, width);
    directory_.setValue(TiffSlot::ImageLength, length);
    directory_.setValue(TiffSlot::RowsPerStrip, rowsPerStrip_ != 0 ? rowsPerStrip_ : length);
}

int TiffWriter::setStrips(std::uint16_t stripCount, std::uint16_t rowsPerStrip, const std::uint32_t* stripStarts,
                          const std::uint32_t* stripByteCounts) {
    if (stripCount == 0 || !stripStarts || !stripByteCounts) return -1;
    rowsPerStrip_ = rowsPerStrip;
    stripByteCounts_ = stripByteCounts;
    stripOffsets_.assign(stripStarts, stripStarts + stripCount);
    for (std::uint32_t& offset : stripOffsets_) offset -= stripStarts[0];
    if (rowsPerStrip_ != 0) directory_.setValue(TiffSlot::RowsPerStrip, rowsPerStrip_);
    return 0;
}

std::int64_t TiffWriter::appendPage(const std::uint8_t* data, std::uint32_t length, std::uint32_t xResolution,
                                    std::uint32_t yResolution, std::uint16_t resolutionUnit) {
    const std::int64_t start = appendBlock(data, length, 0, xResolution, yResolution, resolutionUnit);
    if (start < 0) return -1;
    // One strip: offset and byte count stand inline, and the strip spans the image.
    directory_.setValue(TiffSlot::StripOffsets, static_cast<std::uint32_t>(start));
    directory_.setValue(TiffSlot::StripByteCounts, length);
    directory_.setValue(TiffSlot::RowsPerStrip, directory_.entry(TiffSlot::ImageLength).value);
    return start + length + kTailSize;
}

std::int64_t TiffWriter::appendStripPage(const std::uint8_t* data, std::uint32_t length, std::uint32_t xResolution,
                                         std::uint32_t yResolution, std::uint16_t resolutionUnit) {
    const std::size_t count = stripOffsets_.size();
    if (count == 0 || !stripByteCounts_) return -1;
    for (std::size_t i = 0; i < count; ++i)
        if (std::uint64_t(stripOffsets_[i]) + stripByteCounts_[i] > length) return -1;
    if (count == 1) {
        // A single strip is stored inline, as TIFF requires for a count of 1.
        stripByteCounts_ = nullptr;
        return appendPage(data, length, xResolution, yResolution, resolutionUnit);
    }
    const std::int64_t start = appendBlock(data, length, count, xResolution, yResolution, resolutionUnit);
    stripByteCounts_ = nullptr;  // borrowed for this page only
    if (start < 0) return -1;
    const auto tablesAt = static_cast<std::uint32_t>(start + length);
    const auto n = static_cast<std::uint32_t>(count);
    directory_.setValue(TiffSlot::StripOffsets, tablesAt, n);
    directory_.setValue(TiffSlot::StripByteCounts, tablesAt + 4 * n, n);
    directory_.setValue(TiffSlot::RowsPerStrip,
                        rowsPerStrip_ != 0 ? rowsPerStrip_ : directory_.entry(TiffSlot::ImageLength).value);
    return start + length + 8 * count + kTailSize;
}

std::int64_t TiffWriter::appendBlock(const std::uint8_t* data, std::uint32_t length, std::size_t stripCount,
                                     std::uint32_t xResolution, std::uint32_t yResolution,
                                     std::uint16_t resolutionUnit) {
    if (!file_ || (!data && length != 0)) return -1;
    if (std::fseek(file_, 0, SEEK_END) != 0) return -1;
    const long end = std::ftell(file_);
    // Without a header (or previous directory) there is no field to link from.
    if (end < 8) return -1;
    const std::uint64_t start = static_cast<std::uint64_t>(end);
    const std::uint64_t tailAt = start + length + 8 * stripCount;
    const std::uint64_t directoryAt = tailAt + kTailSize;
    if (directoryAt + TiffDirectory::kByteSize > std::numeric_limits<std::uint32_t>::max()) return -1;

    std::array<std::uint8_t, 4> link{};
    storeU32(link.data(), static_cast<std::uint32_t>(directoryAt));
    if (std::fseek(file_, end - 4, SEEK_SET) != 0 || !writeBytes(link.data(), link.size())) return -1;

    // Strip offsets (now absolute) followed by the strip byte counts.
    std::vector<std::uint8_t> tables(8 * stripCount);
    for (std::size_t i = 0; i < stripCount; ++i) {
        storeU32(tables.data() + 4 * i, static_cast<std::uint32_t>(start) + stripOffsets_[i]);
        storeU32(tables.data() + 4 * (stripCount + i), stripByteCounts_[i]);
    }

    std::array<std::uint8_t, kTailSize> tail{};
    storeU32(tail.data(), xResolution);
    storeU32(tail.data() + 4, 1);
    storeU32(tail.data() + 8, yResolution);
    storeU32(tail.data() + 12, 1);
    std::memcpy(tail.data() + 16, kTiffSoftware, sizeof kTiffSoftware - 1);  // NUL bytes up to 22
    const std::string now = platform::formatLocalTime(kTiffDateTimeFormat);
    std::memcpy(tail.data() + 16 + kSoftwareSize, now.data(), std::min(now.size(), kDateTimeSize - 1));

    if ((length != 0 && !writeBytes(data, length)) || (!tables.empty() && !writeBytes(tables.data(), tables.size())) ||
        !writeBytes(tail.data(), tail.size()))
        return -1;

    directory_.setValue(TiffSlot::XResolution, static_cast<std::uint32_t>(tailAt));
    directory_.setValue(TiffSlot::YResolution, static_cast<std::uint32_t>(tailAt + 8));
    directory_.setValue(TiffSlot::ResolutionUnit, resolutionUnit);
    directory_.setValue(TiffSlot::Software, static_cast<std::uint32_t>(tailAt + 16), kSoftwareSize);
    directory_.setValue(TiffSlot::DateTime, static_cast<std::uint32_t>(tailAt + 16 + kSoftwareSize), kDateTimeSize);
    return static_cast<std::int64_t>(start);
}

int TiffWriter::writeDirectory(std::uint32_t offset) {
    if (!file_ || std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return -1;
    const auto bytes = directory_.serialize();
    if (!writeBytes(bytes.data(), bytes.size())) return -1;
    return std::fflush(file_) == 0 ? 0 : -1;
}

int TiffWriter::closeWriter() {
    if (!file_) return 0;
    const int result = std::fclose(file_);
    file_ = nullptr;
    return result == 0 ? 0 : -1;
}

bool TiffWriter::writeBytes(const void* bytes, std::size_t size) {
    return std::fwrite(bytes, 1, size, file_) == size;
}

}  // namespace quillon
