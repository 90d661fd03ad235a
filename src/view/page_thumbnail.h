#pragma once
// A fax page made small while it is decoded, for a file manager's thumbnail
// of a fax: each line's black runs are added to the pixels of the small
// image they fall on, so that memory is the small image's whatever size the
// page claims, and the page is decoded once.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/line_sink.h"

namespace quillon {

// Eight bits a pixel, 0 black to 255 white, rows top to bottom.
struct GrayImage {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::vector<std::uint8_t> pixels;
};

// The geometry of the page to be made small.
struct PageGeometry {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;  // as its header gives them (the format's default when it gives none)
    std::uint16_t xDpi = 0;
    std::uint16_t yDpi = 0;
};

// Takes a page's lines and makes the page at most size by size pixels (and
// never larger than its own columns), at its true proportions: a standard-resolution page, with half as many rows per
// inch as columns, is as tall as printed. Each small pixel is the share of
// white in the page's pixels it covers.
class ShrunkPage final : public LineSink {
public:
    ShrunkPage(const PageGeometry& page, std::uint32_t size);
    void line(const std::uint32_t* runs, std::uint32_t count) override;
    // The image once every line is in; rows: the page's rows as decoded (the
    // lines handed in, then white), which may differ from the header's.
    GrayImage image(std::uint32_t rows) const;

private:
    std::uint32_t pageWidth_;
    std::uint32_t size_;
    double scale_;       // small pixels a page column
    double rowHeight_;   // small pixels a page row
    std::uint32_t width_;
    std::uint32_t mostRows_;     // a page far longer than its header says is cut there
    std::uint32_t lines_ = 0;    // lines handed in so far
    std::vector<float> black_;   // the black share of each small pixel, width_ by mostRows_
};

// The first page with data of the fax file at path (any format the program
// reads) made at most size by size pixels; false with why not in problem
// (fax_page_images.cpp).
bool faxThumbnail(const std::string& path, std::uint32_t size, GrayImage& image, std::string& problem);

}  // namespace quillon
