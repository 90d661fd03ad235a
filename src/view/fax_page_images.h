#pragma once
// The pages of one fax file as they are shown: opened and listed once, each
// page decoded when it is asked for, made at most a given size as it is
// decoded (page_thumbnail.h), with what its decoding found, the same page
// summary the report writes. One object serves one thread at a time.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/fax_pages.h"
#include "platform/export.h"
#include "platform/source_file.h"
#include "view/page_thumbnail.h"

namespace quillon {

struct PageImage {
    GrayImage image;  // at the page's printed proportions
    PageSummary summary;
    std::uint16_t xDpi = 0;
    std::uint16_t yDpi = 0;
    // Rows of image from which to its foot the page shows no line of the fax:
    // white rows standing for the lines its data lost, and on a cut page the
    // rows past the end of the file; image.rows when there are none.
    std::uint32_t lostFrom = 0;
};

class FaxPageImages {
public:
    // Opens the file at path (any format the program reads) and lists its pages.
    QUILLON_EXPORT explicit FaxPageImages(const std::string& path);
    QUILLON_EXPORT ~FaxPageImages();

    // Why the file shows no page: empty when it lists pages.
    const std::string& problem() const { return problem_; }
    std::uint16_t pageCount() const { return reader_ ? reader_->pageCount() : 0; }
    // Decodes the listed page at most size by size pixels; false when it
    // cannot be loaded.
    QUILLON_EXPORT bool page(std::uint16_t index, std::uint32_t size, PageImage& shown);

private:
    platform::SourceFile file_;
    std::unique_ptr<FaxPages> reader_;
    std::string problem_;
};

}  // namespace quillon
