#pragma once
// The direct Group 4 road of WinFax pages: each page is decoded once by the
// program's own decoder, which hands its lines to a T.6 encoder band by band;
// the strips go into the final TIFF file through libtiff. No intermediate
// file, no decoding or coding by libtiff, and memory bounded by one band (a
// strip of about 64 KiB of pixels) whatever size a page header claims.
//
// The pages come out as the page copier makes them from the intermediate
// file, pixel for pixel for every page that decodes whole. A page's rows are
// those its summary gives (see WinFaxReader::summarizeLoadedPage); rows
// beyond the lines the decoder kept are white. Where data are damaged the
// two differ: libtiff keeps what it makes of a broken line and of an
// undecodable page, while this road keeps the lines before the damage, the
// good lines the decoder finds after it, and white rows in place of the rest
// (an undecodable page is a white page of its header's size).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/page_summary.h"
#include "formats/winfax_reader.h"
#include "tiffcopy/g4_page_output.h"

namespace quillon {

// How the Group 4 data lie in the file. The final TIFF files take bands of
// rows with bits least significant first, as the page copier writes them; a
// PDF takes each page as one Group 4 stream, most significant bit first.
struct G4Layout {
    bool stripPerPage = false;
    bool msbFirst = false;
};

// Codes listed pages [first, first + count) of the open reader into output,
// PageNumber counting them in a fax of pageCount
// pages, and appends each page's summary to written (also when the file
// fails). 0, WinFaxReader::kNoFile or WinFaxReader::kWriteFailed (output
// refused a page or strip).
int writeWinFaxPagesG4(WinFaxReader& reader, G4PageOutput& output, std::uint16_t first, std::uint16_t count,
                       std::uint16_t pageCount, bool recount, std::vector<PageSummary>& written,
                       G4Layout layout = {});

}  // namespace quillon
