#include "formats/listed_pages.h"

namespace quillon {

bool ListedPages::decodePage(std::uint16_t index, FaxImage& image, PageSummary& summary) {
    if (!loadPage(index)) return false;
    summary = decodeDescribedPage(nullptr);
    image = FaxImage{};
    image.width = summary.width;
    image.rows = summary.goodRows;
    image.xResolution = loaded_.xResolution;
    image.yResolution = loaded_.yResolution;
    image.resolutionUnit = 2;  // inch
    return true;
}

bool ListedPages::loadPage(std::uint16_t index) {
    if (index >= pageCount_) return false;
    loaded_ = LoadedPage{};
    return describePage(index, loaded_);
}

PageSummary ListedPages::summarizeLoadedPage(bool, LineSink* lines) { return decodeDescribedPage(lines); }

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
