#pragma once
// What the readers of the formats beside WinFax share: the pages are listed
// when the file opens, and a page is decoded whole each time it is counted
// or written, its lines handed on as they come. A file that lists no page
// says why.

#include <cstdint>
#include <string>
#include <vector>

#include "codec/fax_image.h"
#include "codec/line_sink.h"
#include "engine/fax_pages.h"
#include "engine/page_summary.h"

namespace quillon {

class ListedPages : public FaxPages {
public:
    std::uint16_t pageCount() const override { return pageCount_; }
    const std::vector<PageSummary>& leftOutPages() const override { return leftOut_; }
    std::string refusal() const override { return refusal_; }
    bool loadPage(std::uint16_t index) override;
    LoadedPage loadedPage() const override { return loaded_; }
    // The rows written are those the page's header gives, or for data
    // without one the lines they hold: counting again changes nothing.
    DecodedPage decodeLoadedPage(bool recount, LineSink* lines) override;

protected:
    // Lists count pages, or none with why.
    void listPages(std::uint16_t count) { pageCount_ = count, refusal_.clear(); }
    void refuse(std::string why) { pageCount_ = 0, refusal_ = std::move(why); }
    std::vector<PageSummary>& leftOut() { return leftOut_; }
    // The header of listed page index into page; false, with refusal set by
    // refuse, when it cannot be read.
    virtual bool describePage(std::uint16_t index, LoadedPage& page) = 0;
    // Decodes the page described last, handing each row to lines when given.
    virtual PageSummary decodeDescribedPage(LineSink* lines) = 0;

private:
    std::uint16_t pageCount_ = 0;
    std::string refusal_;
    std::vector<PageSummary> leftOut_;
    LoadedPage loaded_;
};

// Hands rows to a line sink and counts them: white rows stand for rows that
// are missing, and with invert the colours change (for data whose coded
// white is black on the page).
class RowCounter final : public LineSink {
public:
    RowCounter(LineSink* next, std::uint32_t width, bool invert) : next_(next), width_(width), invert_(invert) {}
    void line(const std::uint32_t* runs, std::uint32_t count) override;
    void whiteRowsUpTo(std::uint32_t rows);
    std::uint32_t rows() const { return rows_; }

private:
    LineSink* next_;
    std::uint32_t width_;
    bool invert_;
    std::uint32_t rows_ = 0;
    std::vector<std::uint32_t> inverted_;
};

}  // namespace quillon
