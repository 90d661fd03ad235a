#pragma once
// Reads WinFax fax files (".fxd", ".fxm", ".fxr", ".fxs"): a chain of pages,
// each a 128-byte header followed by CCITT-coded data (T.4 one-dimensional
// with EOL codes, or T.6), bits least significant first. Each page is
// decoded once when it is written: its lines go to the road's coder.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "codec/line_sink.h"
#include "engine/fax_pages.h"
#include "engine/page_summary.h"
#include "formats/fax_reader.h"
#include "formats/winfax_header.h"

namespace quillon {

// What the bytes at a position of a WinFax file start with.
enum class HeaderCheck {
    Signature,    // a page header's signature
    NoSignature,  // anything else, also the end of the file
    NotOpen,      // no file is open
};

class WinFaxReader final : public FaxReader, public FaxPages {
public:
    // Reads the header at position into header().
    HeaderCheck checkHeader(std::int64_t position);
    // Lists the page headers of the chain (at most kMaxPages) and returns
    // their number; a file without any page is closed. The pages chained
    // beyond a full table are walked to the end too, and summarised as left out.
    std::uint16_t countPages();

    // FaxPages
    bool open(SourceBytes file) override;
    std::uint16_t pageCount() const override { return FaxReader::pageCount(); }
    const std::vector<PageSummary>& leftOutPages() const override { return leftOut_; }
    // Reads the header and the data of a listed page; the data are cut to the
    // file and to the start of the next listed page. False when no file is
    // open or the index is not listed.
    bool loadPage(std::uint16_t index) override;
    LoadedPage loadedPage() const override;
    DecodedPage decodeLoadedPage(bool recount, LineSink* lines) override;

    // The header of the page loaded last, with width and length defaults applied.
    const WinFaxPageHeader& header() const { return header_; }

private:
    // Header, clamped data length and resolutions of a listed page, without
    // its data; false when no file is open or the index is not listed.
    bool readPageHeader(std::uint16_t index);
    // Decodes the loaded page's data as they are, their rows those decoded.
    DecodedPage decodeData(LineSink* lines) const;

    std::uint8_t rawHeader_[WinFaxPageHeader::kSize] = {};
    WinFaxPageHeader header_;
    std::uint32_t dataLength_ = 0;  // of the page loaded last, clamped to the file
    std::uint32_t dataAnnounced_ = 0;  // of the page loaded last, as its header says
    bool fileEndsInside_ = false;      // the file ends before the data of the page loaded last
    std::uint16_t xResolution_ = 0;
    std::uint16_t yResolution_ = 0;
    std::vector<PageSummary> leftOut_;
};

}  // namespace quillon
