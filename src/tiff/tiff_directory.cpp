#include "tiff/tiff_directory.h"

#include "tiff/little_endian.h"

namespace quillon {

namespace {

constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kRational = 5;
constexpr std::uint16_t kAscii = 2;
constexpr std::uint16_t kTagT4Options = 292;
constexpr std::uint16_t kTagT6Options = 293;

}  // namespace

TiffDirectory::TiffDirectory()
    : entries_{{
          {254, kLong, 1, 0},
          {256, kLong, 1, 0},
          {257, kLong, 1, 0},
          {258, kShort, 1, 0},
          {259, kShort, 1, 0},
          {262, kShort, 1, 0},
          {266, kShort, 1, 0},
          {273, kLong, 1, 0},
          {274, kShort, 1, 0},
          {277, kShort, 1, 0},
          {278, kLong, 1, 0},
          {279, kLong, 1, 0},
          {282, kRational, 1, 0},
          {283, kRational, 1, 0},
          {284, kShort, 1, 0},
          {kTagT4Options, kLong, 1, 0},
          {296, kShort, 1, 0},
          {297, kShort, 2, 0},
          {305, kAscii, 22, 0},
          {306, kAscii, 20, 0},
      }} {}

void TiffDirectory::setValue(TiffSlot slot, std::uint32_t value, std::uint32_t count) {
    TiffEntry& e = entries_[static_cast<std::size_t>(slot)];
    e.value = value;
    e.count = count;
}

void TiffDirectory::setDefaultTags() {
    setValue(TiffSlot::NewSubfileType, 2);  // one page of a multi-page image
    setValue(TiffSlot::BitsPerSample, 1);
    setValue(TiffSlot::Photometric, 0);
    setValue(TiffSlot::Orientation, 1);
    setValue(TiffSlot::SamplesPerPixel, 1);
    setValue(TiffSlot::PlanarConfiguration, 1);
    setValue(TiffSlot::PageNumber, 0x00010000u, 2);  // page 0 of 1
}

void TiffDirectory::setOutputCompression(ImageCoding coding, std::uint8_t photometric) {
    struct CodingRow {
        ImageCoding coding;
        std::uint16_t compression;
        std::uint16_t optionsTag;
        std::uint32_t options;
    };
    // T4Options 4: fill bits before EOL; 5: also two-dimensional coding.
    static constexpr CodingRow kTable[] = {
        {ImageCoding::Uncompressed, 1, kTagT4Options, 0},
        {ImageCoding::ModifiedHuffman, 2, kTagT4Options, 4},
        {ImageCoding::ModifiedHuffmanWord, 32771, kTagT4Options, 4},
        {ImageCoding::T4OneDimensional, 3, kTagT4Options, 4},
        {ImageCoding::T4TwoDimensional, 3, kTagT4Options, 5},
        {ImageCoding::T6, 4, kTagT6Options, 0},
        {ImageCoding::PackBits, 32773, kTagT4Options, 0},
    };
    setValue(TiffSlot::Photometric, photometric);
    CodingRow row = kTable[0];
    for (const CodingRow& candidate : kTable)
        if (candidate.coding == coding) row = candidate;
    setValue(TiffSlot::Compression, row.compression);
    entries_[static_cast<std::size_t>(TiffSlot::CodingOptions)] = {row.optionsTag, kLong, 1, row.options};
}

void TiffDirectory::setCompressionTags(std::uint16_t compression, std::uint32_t t4Options, std::uint32_t t6Options) {
    setValue(TiffSlot::Compression, compression);
    TiffEntry& options = entries_[static_cast<std::size_t>(TiffSlot::CodingOptions)];
    if (compression == 3) options = {kTagT4Options, kLong, 1, t4Options};
    else if (compression == 4) options = {kTagT6Options, kLong, 1, t6Options};
    else options = {kTagT4Options, kLong, 1, 0};
}

std::array<std::uint8_t, TiffDirectory::kByteSize> TiffDirectory::serialize() const {
    std::array<std::uint8_t, kByteSize> bytes{};
    storeU16(bytes.data(), kEntryCount);
    std::uint8_t* at = bytes.data() + 2;
    for (const TiffEntry& e : entries_) {
        storeU16(at, e.tag);
        storeU16(at + 2, e.type);
        storeU32(at + 4, e.count);
        storeU32(at + 8, e.value);
        at += 12;
    }
    storeU32(at, 0);
    return bytes;
}

}  // namespace quillon
