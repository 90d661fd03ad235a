#pragma once
// Reads Group 3 fax data without a layout of their own: raw Group 3 files
// (".g3n", and ".g3f" without a header) and Digifax files (".g3f" behind the
// 64-byte "PC Research, Inc" header). The data are one page; their coding
// (one- or two-dimensional), bit order and width are found from the data:
// the choice under which most of the first lines decode, 1728 pixels first.
// The vertical resolution is the Digifax header's (its byte 29: 1 fine,
// 0 standard); raw data are fine when they hold 1500 lines or more (an A4
// page holds about 1145 at standard resolution and 2290 at fine), unless
// "/v=" gives it.

#include <cstdint>
#include <string>

#include "formats/coded_block.h"
#include "formats/fax_reader.h"
#include "formats/listed_pages.h"

namespace quillon {

enum class G3Layout {
    Raw,      // the data from the first byte
    Digifax,  // a 64-byte header, then the data
};

class G3Reader final : public FaxReader, public ListedPages {
public:
    // verticalResolution: lines per inch of raw data ("/v="); 0 lets the line count decide.
    G3Reader(G3Layout layout, std::uint16_t verticalResolution) : layout_(layout), verticalResolution_(verticalResolution) {}

    bool open(SourceBytes file) override;

private:
    bool describePage(std::uint16_t index, LoadedPage& page) override;
    PageSummary decodeDescribedPage(LineSink* lines) override;

    G3Layout layout_;
    std::uint16_t verticalResolution_;
    bool fine_ = false;          // the Digifax header's resolution
    std::int64_t dataStart_ = 0;
    CodedBlock block_;           // the coding found; data and rows once described
    std::uint32_t rows_ = 0;
};

}  // namespace quillon
