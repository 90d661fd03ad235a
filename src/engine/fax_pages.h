#pragma once
// The pages of one fax file as the conversion engine reads them, whatever
// the file's format: each reader of formats/ gives its file this way.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "codec/line_sink.h"
#include "engine/page_summary.h"
#include "platform/source_bytes.h"

namespace quillon {

// A page decoded once: how it is written and what its data held.
struct DecodedPage {
    PageSummary summary;  // how the page is written
    // Rows its data decoded to; white rows that stand for missing ones are
    // not counted.
    std::uint32_t decodedRows = 0;
};

// The page loaded last, as its output page is described.
struct LoadedPage {
    std::uint32_t width = 0;
    std::uint32_t length = 0;  // rows its header gives (or the format's default)
    std::uint16_t xResolution = 0;  // dots per inch
    std::uint16_t yResolution = 0;
    // Written with Group4Options: pages coded T.6 in the source, and the
    // white pages that stand for pages without data.
    bool group4Options = false;
};

// A source file's bytes as the readers take them (platform/source_bytes.h),
// kept alive by the caller while the reader is used; none for a source that
// is no regular file (a named pipe, a device), which is never read.
using SourceBytes = platform::SourceBytes;

class FaxPages {
public:
    virtual ~FaxPages() = default;

    // Lists the pages of the file's bytes; false when there are none to read.
    // A file that is not of the reader's format lists no page.
    virtual bool open(SourceBytes file) = 0;
    virtual std::uint16_t pageCount() const = 0;
    // Pages the file holds beyond those listed: named, never written.
    virtual const std::vector<PageSummary>& leftOutPages() const = 0;
    // Why a file the reader opened lists no page, when the reader can tell
    // (a colour image, a layout it does not take); empty otherwise.
    virtual std::string refusal() const { return {}; }
    // What the reader found amiss in a file it takes, without failing it
    // (such as a page resolution that cannot be a fax's), one line each.
    virtual std::vector<std::string> notes() const { return {}; }

    // Loads a listed page; false when it cannot be loaded.
    virtual bool loadPage(std::uint16_t index) = 0;
    virtual LoadedPage loadedPage() const = 0;
    // Decodes the loaded page without a raster, handing every line that goes
    // into the output to lines (when given), and tells how the page is
    // written: its rows may be more than the lines handed out (white rows
    // follow). With recount, a page whose header gives its rows is written
    // with the rows its data decoded to instead.
    virtual DecodedPage decodeLoadedPage(bool recount, LineSink* lines) = 0;
};

}  // namespace quillon
