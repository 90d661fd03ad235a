#pragma once
// Reads CALS Type 1 raster files: a header of sixteen 128-byte text records
// ("rtype: 1", "rorient: 000,270", "rpelcnt: 001728,002200", "rdensty:
// 0200", ...) and behind it one page of Group 4 data, most significant bit
// first. Only upright pages (rorient 000,270) are taken: a turned page is
// refused with the reason rather than written turned.

#include <cstdint>
#include <string>

#include "formats/fax_reader.h"
#include "formats/listed_pages.h"

namespace quillon {

class CalsReader final : public FaxReader, public ListedPages {
public:
    bool open(SourceBytes file) override;

private:
    bool describePage(std::uint16_t index, LoadedPage& page) override;
    PageSummary decodeDescribedPage(LineSink* lines) override;

    std::uint32_t width_ = 0;
    std::uint32_t length_ = 0;
    std::uint16_t density_ = 0;
};

}  // namespace quillon
