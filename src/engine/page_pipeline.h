#pragma once
// The Group 4 page pipeline: each page is decoded once by the program's own
// decoder, which hands its lines to a T.6 encoder band by band; the
// strips go to a G4PageOutput (a TIFF file through libtiff, or the pages of a
// PDF). No intermediate file, no decoding or coding by libtiff, and memory
// bounded by one band (a strip of about 64 KiB of pixels), and the runs of a
// page decoded ahead (RecordedLines::kMaxRuns), whatever size a page header
// claims.
//
// A page's rows are those its summary gives (FaxPages::decodeLoadedPage);
// rows beyond the lines the decoder kept are white. Where data are damaged,
// the page keeps the lines before the damage, the good lines the decoder
// finds after it, and white rows in place of the rest (an undecodable page
// is a white page of its header's size).

#include <cstdint>
#include <string>
#include <vector>

#include "codec/g4_page_output.h"
#include "engine/fax_pages.h"
#include "engine/page_summary.h"
#include "engine/recorded_lines.h"

namespace quillon {

// How the Group 4 data lie in the file. The final TIFF files take bands of
// rows with bits least significant first, as fax TIFF files keep them; a
// PDF takes each page as one Group 4 stream, most significant bit first.
struct G4Layout {
    bool stripPerPage = false;
    bool msbFirst = false;
};

// A page decoded before it is written (the engine decodes the first page
// with data to tell whether the file holds a fax): written from its kept
// lines, with the same recount, instead of being decoded a second time.
struct DecodedAhead {
    std::uint16_t index = 0;
    PageSummary summary;
    RecordedLines lines;
};

// Codes listed pages [first, first + count) of the open file into output,
// numbering them among all its listed pages, and appends each page's summary
// (with fingerprint, its SHA-256 as written) to written, also when the output
// fails. False when a page cannot be loaded or the output refused a page or strip.
bool writeFaxPagesG4(FaxPages& pages, G4PageOutput& output, std::uint16_t first, std::uint16_t count, bool recount,
                     bool fingerprint, std::vector<PageSummary>& written, G4Layout layout = {},
                     const DecodedAhead* ahead = nullptr);

}  // namespace quillon
