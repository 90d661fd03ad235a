#include "formats/listed_pages.h"

namespace quillon {

bool ListedPages::loadPage(std::uint16_t index) {
    if (index >= pageCount_) return false;
    loaded_ = LoadedPage{};
    return describePage(index, loaded_);
}

DecodedPage ListedPages::decodeLoadedPage(bool, LineSink* lines) {
    DecodedPage page{decodeDescribedPage(lines)};
    page.decodedRows = page.summary.goodRows;
    return page;
}

void RowCounter::line(const std::uint32_t* runs, std::uint32_t count) {
    ++rows_;
    if (!next_) return;
    if (!invert_) {
        next_->line(runs, count);
        return;
    }
    // A white run of none in front: every run takes the other colour.
    inverted_.assign(1, 0);
    inverted_.insert(inverted_.end(), runs, runs + count);
    next_->line(inverted_.data(), std::uint32_t(inverted_.size()));
}

void RowCounter::whiteRowsUpTo(std::uint32_t rows) {
    const std::uint32_t white[] = {width_};
    while (rows_ < rows) {
        ++rows_;
        if (next_) next_->line(white, 1);
    }
}

}  // namespace quillon
