#include "engine/conversion_engine.h"

#include "engine/g4_road.h"
#include "tiffcopy/g4_tiff_output.h"

namespace quillon {

ConversionEngine::ConversionEngine(const ConvertOptions& options) : options_(options) {}

int ConversionEngine::openSource(const std::string& path, FaxFormat format) {
    valid_ = false;
    firstPage_ = FaxImage{};
    options_.pageCount = 0;
    written_.clear();
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
    const int result = options_.splitPages() ? reader_.convertToPageFiles(outputPath, options_.pageCount, recount)
                                             : reader_.convertToFile(outputPath, options_.pageCount, recount);
    written_ = reader_.pageSummaries();
    return result;
}

int ConversionEngine::writeG4(const std::string& outputPath, std::uint16_t first, std::uint16_t count) {
    if (!listsPages(first, count)) return -1;
    G4TiffOutput output;
    // Pages are summarised also when the file cannot be created: its pages then refuse them.
    output.open(outputPath);
    int result = writeG4(output, first, count, G4Layout{});
    if (!output.close() && result == 0) result = WinFaxReader::kWriteFailed;
    return result;
}

int ConversionEngine::writeG4(G4PageOutput& output, std::uint16_t first, std::uint16_t count, G4Layout layout) {
    if (!listsPages(first, count)) return -1;
    return writeWinFaxPagesG4(reader_, output, first, count, options_.pageCount, options_.recountLines != 0, written_,
                              layout);
}

bool ConversionEngine::listsPages(std::uint16_t first, std::uint16_t count) const {
    return reader_.isOpen() && count > 0 && first + count <= options_.pageCount;
}

std::vector<PageSummary> ConversionEngine::pages() const {
    std::vector<PageSummary> all = written_;
    all.insert(all.end(), reader_.leftOutPages().begin(), reader_.leftOutPages().end());
    return all;
}

}  // namespace quillon
