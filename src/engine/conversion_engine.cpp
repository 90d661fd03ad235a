#include "engine/conversion_engine.h"

namespace quillon {

ConversionEngine::ConversionEngine(const ConvertOptions& options) : options_(options) {}

int ConversionEngine::openSource(const std::string& path, FaxFormat format) {
    valid_ = false;
    firstPage_ = FaxImage{};
    options_.pageCount = 0;
    if (format != kFormatWinFax || reader_.openFile(path) != 0) return -1;
    options_.pageCount = reader_.countPages();
    // A file without pages is closed by now and decodes nothing.
    // The first page with data decides: an empty page is written as a white
    // page and says nothing about the data of the pages after it.
    PageSummary first;
    for (std::uint16_t page = 0; page < options_.pageCount; ++page) {
        reader_.decodePage(page, firstPage_, &first);
        if (first.state != PageState::Empty) break;
    }
    valid_ = firstPage_.width > 0 && firstPage_.rows > 0 && first.holdsFaxData();
    return 0;
}

bool ConversionEngine::hasImage() const { return valid_; }

int ConversionEngine::convert(const std::string& outputPath, FaxFormat format) {
    if (format != kFormatWinFax || !reader_.isOpen()) return -1;
    const bool recount = options_.recountLines != 0;
    if (options_.splitPages()) return reader_.convertToPageFiles(outputPath, options_.pageCount, recount);
    return reader_.convertToFile(outputPath, options_.pageCount, recount);
}

std::vector<PageSummary> ConversionEngine::pages() const {
    std::vector<PageSummary> all = reader_.pageSummaries();
    all.insert(all.end(), reader_.leftOutPages().begin(), reader_.leftOutPages().end());
    return all;
}

}  // namespace quillon
