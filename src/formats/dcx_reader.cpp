#include "formats/dcx_reader.h"

#include <algorithm>

#include "codec/row_runs.h"
#include "formats/little_endian.h"

namespace quillon {

namespace {

constexpr std::uint32_t kSignature = 987654321;
constexpr std::size_t kMostPages = 1023;
constexpr std::uint16_t kDefaultResolution = 200;

}  // namespace

bool DcxReader::open(SourceBytes file) {
    if (!openBytes(file)) return false;
    clearPages();
    std::uint8_t table[4 * (kMostPages + 2)] = {};
    const std::size_t read = readAt(0, table, sizeof table);
    if (read < 8 || loadU32(table) != kSignature) {
        refuse("it does not start with the DCX signature");
        return true;
    }
    for (std::size_t entry = 1; entry <= kMostPages && entry * 4 + 4 <= read; ++entry) {
        const std::uint32_t offset = loadU32(table + entry * 4);
        if (offset == 0) break;
        if (offset >= fileSize()) {
            refuse("its page table points past the end of the file");
            return true;
        }
        addPagePosition(offset);
    }
    if (FaxReader::pageCount() == 0) {
        refuse("its page table lists no page");
        return true;
    }
    // Every page is looked at first: one that is not taken fails the file.
    PcxHeader header;
    std::int64_t end = 0;
    std::string why;
    notes_.clear();
    for (std::uint16_t index = 0; index < FaxReader::pageCount(); ++index) {
        const std::string page = "page " + std::to_string(index + 1) + " of " + std::to_string(FaxReader::pageCount());
        if (!readHeader(index, header, end, why)) {
            refuse(page + " is " + why);
            return true;
        }
        if (!header.resolutionPlausible())
            notes_.push_back(page + ": the resolution its header gives (" + std::to_string(header.xResolution) + " x " +
                             std::to_string(header.yResolution) + " dpi) cannot be a fax's; written at " +
                             std::to_string(kDefaultResolution) + " dpi");
    }
    listPages(FaxReader::pageCount());
    return true;
}

bool DcxReader::readHeader(std::uint16_t index, PcxHeader& header, std::int64_t& end, std::string& why) {
    const std::int64_t start = pagePosition(index);
    std::uint8_t bytes[PcxHeader::kSize] = {};
    if (readAt(start, bytes, sizeof bytes) != sizeof bytes) {
        why = "cut off inside its header";
        return false;
    }
    // A page's data end where a later page starts, else at the end of the file.
    end = fileSize();
    for (std::uint16_t other = 0; other < FaxReader::pageCount(); ++other)
        if (pagePosition(other) > start) end = std::min<std::int64_t>(end, pagePosition(other));
    return PcxHeader::parse(std::span<const std::uint8_t, PcxHeader::kSize>(bytes), header, why);
}

bool DcxReader::describePage(std::uint16_t index, LoadedPage& page) {
    std::int64_t end = 0;
    std::string why;
    if (!readHeader(index, header_, end, why)) return false;
    const std::int64_t dataStart = std::int64_t(pagePosition(index)) + std::int64_t(PcxHeader::kSize);
    loadPageData(dataStart, static_cast<std::size_t>(std::max<std::int64_t>(0, end - dataStart)));
    page.width = header_.width;
    page.length = std::max<std::uint32_t>(header_.rows, 1);
    ones_ = pcxOnes(header_, pageData());
    const bool given = header_.xResolution != 0 && header_.resolutionPlausible();
    page.xResolution = given ? header_.xResolution : kDefaultResolution;
    page.yResolution = given && header_.yResolution ? header_.yResolution : page.xResolution;
    return true;
}

PageSummary DcxReader::decodeDescribedPage(LineSink* lines) {
    PageSummary summary;
    summary.width = header_.width;
    summary.rows = std::max<std::uint32_t>(header_.rows, 1);
    summary.coding = ImageCoding::PcxRunLength;
    RowCounter rows(lines, header_.width, false);
    PcxRows coded(pageData(), header_.bytesPerLine);
    std::vector<std::uint32_t> runs;
    for (std::uint32_t y = 0; y < header_.rows; ++y) {
        const std::uint8_t* row = coded.next();
        if (!row) break;  // the data end: the rows left are white
        rowRuns(row, header_.width, ones_ == PcxOnes::Black, runs);
        rows.line(runs.data(), static_cast<std::uint32_t>(runs.size()));
    }
    summary.linesMet = header_.rows;
    summary.goodRows = rows.rows();
    summary.badLines = header_.rows - rows.rows();
    summary.state = summary.badLines > 0 || header_.rows == 0 ? PageState::Damaged : PageState::Ok;
    return summary;
}

}  // namespace quillon
