#pragma once
// What a reader learned about each page of a fax while writing it out: how
// it went into the output and whether its data were whole.

#include <algorithm>
#include <cstdint>
#include <string>

#include "codec/fax_image.h"
#include "platform/export.h"

namespace quillon {

enum class PageState : std::uint8_t {
    Ok,       // every line decoded
    Empty,    // no data: written as a white page
    Damaged,  // lines that did not decode, or none at all (white rows stand for them)
    LeftOut,  // beyond the page table: not written
    Cut,      // the file ends inside the page's data: rows that decoded are kept, the rest is white
};

struct PageSummary {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;  // rows of the page as written; 0 when left out
    ImageCoding coding = ImageCoding::T6;
    PageState state = PageState::Ok;
    // Lines the decoder met (kept and dropped) and the bad ones among them:
    // dropped for a bad code or a wrong length, or coded past the width.
    std::uint32_t linesMet = 0;
    std::uint32_t badLines = 0;
    bool endMarked = false;  // the data hold the end mark of their coding (T.6 EOFB)
    // Rows (of `rows`) that hold a line kept whole; the others are white or
    // hold what damaged data decoded to.
    std::uint32_t goodRows = 0;
    // Data bytes the page header announced and those the file holds; they
    // differ only on a cut page.
    std::uint32_t bytesAnnounced = 0;
    std::uint32_t bytesPresent = 0;
    std::string sha256 = {};  // of the page as written, when fingerprinted

    // The page's rows that do not show what the fax drew: never more than rows.
    std::uint32_t damagedRows() const { return rows - std::min(rows, goodRows); }

    // Data with a good line hold a fax page when they carry their coding's
    // end mark or most of their lines are good: random bytes give about
    // three bad lines in four and no end mark, while T.6 data damaged near
    // their start may decode to little more than garbage but keep their EOFB.
    bool holdsFaxData() const { return linesMet > badLines && (endMarked || badLines * 2 < linesMet); }
};

// The report's words: "ok", "empty", "damaged", "left-out", "cut".
const char* pageStateName(PageState state);
// "MH", "T.4-1D", "T.4-2D", "T.6", and for pages read as rows "none",
// "PackBits", "LZW", "other" (another TIFF compression) or "PCX-RLE".
QUILLON_EXPORT const char* codingName(ImageCoding coding);

}  // namespace quillon
