#pragma once
// The in-memory image of the one image file directory that the TIFF writer
// keeps for every page: twenty entries in a fixed order, so that a page that
// does not set an entry keeps the value of the page before.

#include <array>
#include <cstddef>
#include <cstdint>

#include "codec/fax_image.h"

namespace quillon {

// One 12-byte TIFF directory entry. SHORT values live in the low half of
// `value`, which in "II" order is the left-justified form TIFF requires.
struct TiffEntry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::uint32_t value = 0;
};

// Positions of the entries; they never change and keep the tags ascending.
enum class TiffSlot : std::size_t {
    NewSubfileType,
    ImageWidth,
    ImageLength,
    BitsPerSample,
    Compression,
    Photometric,
    FillOrder,
    StripOffsets,
    Orientation,
    SamplesPerPixel,
    RowsPerStrip,
    StripByteCounts,
    XResolution,
    YResolution,
    PlanarConfiguration,
    CodingOptions,  // T4Options (292) or T6Options (293)
    ResolutionUnit,
    PageNumber,
    Software,
    DateTime,
};

class TiffDirectory {
public:
    static constexpr std::size_t kEntryCount = 20;
    // Entry count (2), entries (240), next-directory offset (4).
    static constexpr std::size_t kByteSize = 2 + kEntryCount * 12 + 4;

    TiffDirectory();

    const TiffEntry& entry(TiffSlot slot) const { return entries_[static_cast<std::size_t>(slot)]; }
    void setValue(TiffSlot slot, std::uint32_t value, std::uint32_t count = 1);

    void setDefaultTags();
    // Compression and coding options from the page's ImageCoding.
    void setOutputCompression(ImageCoding coding, std::uint8_t photometric);
    // Raw TIFF values: compression 3 takes t4Options, 4 takes t6Options, any
    // other compression gets T4Options 0.
    void setCompressionTags(std::uint16_t compression, std::uint32_t t4Options, std::uint32_t t6Options);

    // The directory as stored: entry count, entries, next-directory offset 0.
    std::array<std::uint8_t, kByteSize> serialize() const;

private:
    std::array<TiffEntry, kEntryCount> entries_;
};

}  // namespace quillon
