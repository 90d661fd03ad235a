#pragma once
// Reads DCX files: a signature, a table of up to 1023 page offsets ended by
// 0, and at each offset a PCX image of one bit per pixel (pcx_page.h). The
// resolution is the PCX header's, 200 dpi where it is not given or cannot be
// a fax's (which the reader's notes say). A file with a page of more bits
// per pixel is refused with the reason.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/fax_reader.h"
#include "formats/listed_pages.h"
#include "formats/pcx_page.h"

namespace quillon {

class DcxReader final : public FaxReader, public ListedPages {
public:
    bool open(SourceBytes file) override;
    std::vector<std::string> notes() const override { return notes_; }

private:
    bool describePage(std::uint16_t index, LoadedPage& page) override;
    PageSummary decodeDescribedPage(LineSink* lines) override;
    // The header of listed page index and where its coded rows end.
    bool readHeader(std::uint16_t index, PcxHeader& header, std::int64_t& end, std::string& why);

    PcxHeader header_;
    PcxOnes ones_ = PcxOnes::White;  // of the page loaded last, by its palette and its writer
    std::vector<std::string> notes_;
};

}  // namespace quillon
