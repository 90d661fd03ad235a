#pragma once
// Reads TIFF files of bilevel pages: CCITT-coded pages (modified Huffman,
// Group 3 one- and two-dimensional, Group 4) strip by strip through the
// program's own decoder, with libtiff's tags telling the coding; pages in
// other compressions (none, PackBits, LZW, ...) row by row as libtiff
// decodes them. A file with a page of more than one bit per pixel is
// refused, never thresholded.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/listed_pages.h"
#include "tiff/tiff_source.h"

namespace quillon {

class TiffReader final : public ListedPages {
public:
    // name stands for the file in libtiff's messages.
    explicit TiffReader(std::string name = {}) : name_(std::move(name)) {}
    bool open(SourceBytes file) override;

private:
    bool describePage(std::uint16_t index, LoadedPage& page) override;
    PageSummary decodeDescribedPage(LineSink* lines) override;
    PageSummary decodeStrips(LineSink* lines);
    PageSummary decodeRows(LineSink* lines);

    std::string name_;
    TiffSource source_;
    TiffPage page_;
    std::vector<std::uint8_t> strip_;
};

}  // namespace quillon
