#pragma once
// Writes little-endian, bilevel, multi-page TIFF files around page data that
// are already in their final coding. Every page block is appended at the end
// of the file and linked by patching the file's last four bytes, which are
// always the next-directory field of the page written last (or, in a new file,
// the header's first-directory field).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "tiff/tiff_directory.h"

namespace quillon {

// The Software text of every page the program writes, and the format of the
// DateTime text (for platform::formatLocalTime).
inline constexpr char kTiffSoftware[] = "Orvane Studio";
inline constexpr char kTiffDateTimeFormat[] = "%Y:%m:%d %H:%M:%S";

class TiffWriter {
public:
    static constexpr std::uint16_t kLittleEndian = 0x4949;  // "II"

    TiffWriter() = default;
    ~TiffWriter();
    TiffWriter(const TiffWriter&) = delete;
    TiffWriter& operator=(const TiffWriter&) = delete;

    // Opens the path with the stream mode ("wb" for a new file, "r+b" to
    // append pages to a file this writer made), falling back to "wb". Only
    // "II" byte order is written. 0, or -1 when nothing could be opened.
    int openWriter(const std::string& path, std::uint16_t byteOrder, const char* mode);
    bool isOpen() const { return file_ != nullptr; }
    // The 8-byte header of a new file; 0 or -1.
    int writeHeader();

    void setDefaultTags() { directory_.setDefaultTags(); }
    void setOutputCompression(ImageCoding coding, std::uint8_t photometric) {
        directory_.setOutputCompression(coding, photometric);
    }
    void setCompressionTags(std::uint16_t compression, std::uint32_t t4Options, std::uint32_t t6Options) {
        directory_.setCompressionTags(compression, t4Options, t6Options);
    }
    void setFillOrder(std::uint16_t fillOrder) { directory_.setValue(TiffSlot::FillOrder, fillOrder); }
    void setPageNumber(std::uint16_t pageIndex, std::uint16_t pageCount);
    void setImageSize(std::uint32_t width, std::uint32_t length);
    void setOrientation(std::uint16_t orientation) { directory_.setValue(TiffSlot::Orientation, orientation); }
    // Strip layout of the next appendStripPage: starts are in the caller's own
    // numbering (only their distance from the first start counts); the byte
    // counts stay borrowed until appendStripPage returns. 0, or -1 when the
    // count is 0 or an array is missing.
    int setStrips(std::uint16_t stripCount, std::uint16_t rowsPerStrip, const std::uint32_t* stripStarts,
                  const std::uint32_t* stripByteCounts);

    // Appends one page block (data, strip tables, resolutions, texts) and
    // returns the offset at which its directory is to be written, or -1 when
    // no file is open, a write fails, the strips do not lie within the data or
    // the file would outgrow 32-bit offsets.
    std::int64_t appendPage(const std::uint8_t* data, std::uint32_t length, std::uint32_t xResolution,
                            std::uint32_t yResolution, std::uint16_t resolutionUnit);
    std::int64_t appendStripPage(const std::uint8_t* data, std::uint32_t length, std::uint32_t xResolution,
                                 std::uint32_t yResolution, std::uint16_t resolutionUnit);
    // Writes the directory at the offset appendPage returned and flushes; 0 or -1.
    int writeDirectory(std::uint32_t offset);
    // 0, or -1 when the stream could not be closed cleanly.
    int closeWriter();

    const TiffDirectory& directory() const { return directory_; }

private:
    // Writes data, strip tables (for stripCount > 1), rationals and texts at
    // the end of the file after linking the block's directory; returns the
    // block's start or -1.
    std::int64_t appendBlock(const std::uint8_t* data, std::uint32_t length, std::size_t stripCount,
                             std::uint32_t xResolution, std::uint32_t yResolution, std::uint16_t resolutionUnit);
    bool writeBytes(const void* bytes, std::size_t size);

    std::FILE* file_ = nullptr;
    TiffDirectory directory_;
    std::uint16_t byteOrder_ = kLittleEndian;
    std::uint16_t rowsPerStrip_ = 0;
    std::vector<std::uint32_t> stripOffsets_;  // relative to the first strip
    const std::uint32_t* stripByteCounts_ = nullptr;
};

}  // namespace quillon
