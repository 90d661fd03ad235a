#include "codec/fax_image.h"

namespace quillon {

namespace {

template <typename T>
void put(std::array<std::uint8_t, FaxImage::kRecordSize>& r, std::size_t at, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) r[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <typename T>
T get(const std::array<std::uint8_t, FaxImage::kRecordSize>& r, std::size_t at) {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>(value | (T(r[at + i]) << (8 * i)));
    return value;
}

}  // namespace

std::array<std::uint8_t, FaxImage::kRecordSize> FaxImage::toRecord() const {
    std::array<std::uint8_t, kRecordSize> r{};
    put<std::uint32_t>(r, 4, width);
    put<std::uint32_t>(r, 8, rows);
    put<std::uint32_t>(r, 12, bytesPerRow);
    put<std::uint16_t>(r, 16, 1);
    put<std::uint16_t>(r, 18, 1);  // bits per sample
    put<std::uint32_t>(r, 20, sourceLength);
    put<std::uint16_t>(r, 24, xResolution);
    put<std::uint16_t>(r, 26, yResolution);
    r[28] = resolutionUnit;
    r[29] = fillOrder;
    r[30] = static_cast<std::uint8_t>(coding);
    r[31] = paperCode;
    r[32] = invert;
    // Bytes 33..36 hold the bitmap pointer in memory; a stored record keeps 0.
    return r;
}

FaxImage FaxImage::fromRecord(const std::array<std::uint8_t, kRecordSize>& r) {
    FaxImage image;
    image.width = get<std::uint32_t>(r, 4);
    image.rows = get<std::uint32_t>(r, 8);
    image.bytesPerRow = get<std::uint32_t>(r, 12);
    image.sourceLength = get<std::uint32_t>(r, 20);
    image.xResolution = get<std::uint16_t>(r, 24);
    image.yResolution = get<std::uint16_t>(r, 26);
    image.resolutionUnit = r[28];
    image.fillOrder = r[29];
    image.coding = static_cast<ImageCoding>(r[30]);
    image.paperCode = r[31];
    image.invert = r[32];
    return image;
}

}  // namespace quillon
