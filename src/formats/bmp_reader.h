#pragma once
// Reads Windows bitmaps of one bit per pixel, bottom-up (positive height)
// or top-down (negative height), uncompressed; the colour of each bit is
// the palette's (the darker of its two colours is black), the resolution
// the header's pixels per metre. Bitmaps of more bits per pixel, or
// compressed, are refused with the reason.

#include <cstdint>
#include <string>

#include "formats/fax_reader.h"
#include "formats/listed_pages.h"

namespace quillon {

class BmpReader final : public FaxReader, public ListedPages {
public:
    bool open(SourceBytes file) override;

private:
    bool describePage(std::uint16_t index, LoadedPage& page) override;
    PageSummary decodeDescribedPage(LineSink* lines) override;

    std::uint32_t width_ = 0;
    std::uint32_t rows_ = 0;
    bool topDown_ = false;
    bool blackIs1_ = true;
    std::uint32_t pixelsAt_ = 0;
    std::uint16_t xResolution_ = 0;
    std::uint16_t yResolution_ = 0;
};

}  // namespace quillon
