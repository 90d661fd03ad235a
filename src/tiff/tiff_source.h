#pragma once
// A TIFF file read as a fax source: its bilevel pages, each either as its
// raw CCITT-coded strips (for the program's own decoder, with libtiff's tags
// telling the coding) or as rows decoded by libtiff (no compression,
// PackBits, LZW, ...). Pages of more than one bit per pixel are refused with
// the reason, never thresholded.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "tiff/client_tiff.h"

namespace quillon {

struct TiffPage {
    std::uint32_t width = 0;
    std::uint32_t length = 0;
    // Dots per inch; 0 where the file gives none.
    std::uint16_t xResolution = 0;
    std::uint16_t yResolution = 0;
    ImageCoding coding = ImageCoding::Uncompressed;
    bool ccittCoded = false;   // strips go to the program's decoder
    bool minIsBlack = false;   // PhotometricInterpretation MinIsBlack: a 0 bit is black
    std::uint8_t fillOrder = 1;
    std::uint32_t rowsPerStrip = 0;
    std::uint32_t strips = 0;
};

class TiffSource {
public:
    TiffSource() = default;
    ~TiffSource();
    TiffSource(const TiffSource&) = delete;
    TiffSource& operator=(const TiffSource&) = delete;

    // Opens a file's bytes through libtiff, which reads held bytes in place;
    // they stay alive while the source is used. name stands for the file in
    // libtiff's messages. False, with why, when there are none (the file is
    // no regular file) or they are no TIFF file.
    bool open(const platform::SourceBytes& bytes, const std::string& name, std::string& why);
    // Pages (directories), counted to at most limit.
    std::uint32_t countPages(std::uint32_t limit);
    // Makes page index current; false, with why, when it cannot be read or
    // is no bilevel page this reader takes.
    bool selectPage(std::uint32_t index, TiffPage& page, std::string& why);
    // The current page's raw strip, cut to the bytes the file holds.
    bool readRawStrip(std::uint32_t strip, std::vector<std::uint8_t>& data);
    // The current page's rows decoded by libtiff, each packed with the leftmost
    // pixel in the most significant bit (bits as stored: see minIsBlack). Rows
    // that do not decode are handed on as nullptr. False when the page's
    // layout cannot be read at all (nothing handed on).
    bool readRows(const std::function<void(const std::uint8_t* row)>& row);

private:
    bool readTiledRows(const std::function<void(const std::uint8_t* row)>& row);

    TiffBytes file_;  // what libtiff reads through tif_
    TIFF* tif_ = nullptr;
    TiffPage page_;
};

}  // namespace quillon
