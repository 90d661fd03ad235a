#include "engine/conversion_engine.h"


namespace quillon {

ConversionEngine::ConversionEngine(const ConvertOptions& options, std::unique_ptr<FaxPages> pages)
    : options_(options), pages_(std::move(pages)) {}

bool ConversionEngine::openSource(SourceBytes bytes) {
    valid_ = false;
    written_.clear();
    ahead_.reset();
    open_ = pages_->open(bytes);
    if (!open_) return false;
    // The first page with data decides: an empty page is written as a white
    // page and says nothing about the data of the pages after it. Its lines
    // are kept for writing it.
    DecodedPage first;
    for (std::uint16_t page = 0; page < pages_->pageCount(); ++page) {
        if (!pages_->loadPage(page)) return true;
        ahead_.emplace();
        ahead_->index = page;
        first = pages_->decodeLoadedPage(options_.recountLines, &ahead_->lines);
        ahead_->summary = first.summary;
        if (first.summary.state != PageState::Empty) break;
    }
    valid_ = first.summary.width > 0 && first.decodedRows > 0 && first.summary.holdsFaxData();
    return true;
}

bool ConversionEngine::writeG4(G4PageOutput& output, std::uint16_t first, std::uint16_t count, G4Layout layout) {
    if (!listsPages(first, count)) return false;
    return writeFaxPagesG4(*pages_, output, first, count, options_.recountLines, options_.fingerprintPages, written_,
                           layout, ahead_ ? &*ahead_ : nullptr);
}

bool ConversionEngine::listsPages(std::uint16_t first, std::uint16_t count) const {
    return open_ && count > 0 && first + count <= pages_->pageCount();
}

std::vector<PageSummary> ConversionEngine::pages() const {
    std::vector<PageSummary> all = written_;
    all.insert(all.end(), pages_->leftOutPages().begin(), pages_->leftOutPages().end());
    return all;
}

}  // namespace quillon
