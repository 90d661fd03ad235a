#pragma once
// One fax file through the engine: lists its pages, checks that its first page
// with data holds a fax (keeping its lines, so that it is not decoded again
// when written), and codes pages to Group 4 outputs. One engine per file.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/convert_options.h"
#include "engine/fax_pages.h"
#include "engine/page_pipeline.h"

namespace quillon {

class ConversionEngine {
public:
    // options is copied; pages is the reader of the file's format.
    ConversionEngine(const ConvertOptions& options, std::unique_ptr<FaxPages> pages);

    // Lists the pages of the source's bytes, which the caller keeps alive
    // while the engine is used. False when there are none to read (the
    // source is no regular file); whether it holds a fax is told by
    // hasImage, and a file of another format lists no page.
    bool openSource(SourceBytes bytes);
    // The first page with data decoded to a width and at least one line and
    // holds fax data (damage keeps a fax a fax, random bytes do not).
    bool hasImage() const { return valid_; }
    // Listed pages [first, first + count) coded into output (a TIFF file, the
    // pages of a PDF). False when the pages are not listed, a page cannot be
    // read or the output refuses a page. Their summaries join pages(), so one
    // file may take several calls.
    bool writeG4(G4PageOutput& output, std::uint16_t first, std::uint16_t count, G4Layout layout);

    std::uint16_t pageCount() const { return pages_->pageCount(); }
    // The file chains more pages than the page table holds: those were not listed.
    bool pagesLeftOut() const { return !pages_->leftOutPages().empty(); }
    // Why a file that lists no page is not taken, when its reader can tell.
    std::string refusal() const { return pages_->refusal(); }
    // What the reader found amiss in the file without failing it.
    std::vector<std::string> readerNotes() const { return pages_->notes(); }
    // Every page of the chain in order, once writeG4 has written them all:
    // the pages written, then those left out.
    std::vector<PageSummary> pages() const;

private:
    bool listsPages(std::uint16_t first, std::uint16_t count) const;

    ConvertOptions options_;
    std::unique_ptr<FaxPages> pages_;
    bool open_ = false;
    bool valid_ = false;
    std::vector<PageSummary> written_;
    std::optional<DecodedAhead> ahead_;  // the page that told whether the file holds a fax
};

}  // namespace quillon
