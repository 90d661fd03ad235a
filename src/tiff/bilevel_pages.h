#pragma once
// Reading bilevel pages back through libtiff's own decoding, to check
// outputs against what was written: every row in one form, 1 = black, most
// significant bit first, padded to whole bytes with zero bits (the raster of
// a binary PBM file).

#include <cstdint>
#include <span>
#include <string>

namespace quillon {

class BilevelPageSink {
public:
    virtual ~BilevelPageSink() = default;
    virtual void beginPage(std::uint32_t width, std::uint32_t rows) = 0;
    virtual void row(std::span<const std::uint8_t> packed) = 0;
    // The page's rows could not all be read; no more rows come for it.
    virtual void pageUnreadable(const std::string& why) = 0;
};

// Every page (directory) of a TIFF file, in order. False, with why, when the
// file cannot be opened as TIFF or a page is no bilevel image; pages that
// came before stay delivered.
bool readBilevelTiff(const std::string& path, BilevelPageSink& sink, std::string& why);

// One image of Group 4 data (the stream of a PDF page's CCITT image), decoded
// by libtiff as if it were a TIFF strip of that size.
bool readGroup4Image(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t rows, bool blackIs1,
                     BilevelPageSink& sink, std::string& why);

}  // namespace quillon
