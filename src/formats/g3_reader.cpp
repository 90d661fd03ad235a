#include "formats/g3_reader.h"

#include <algorithm>
#include <cstring>

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

constexpr std::size_t kDigifaxHeaderSize = 64;
constexpr std::size_t kDigifaxResolutionByte = 29;
constexpr char kDigifaxSignature[] = "PC Research, Inc";
// The first bytes decide the coding: enough for dozens of lines, and a
// bound on the work of trying every choice on a large file.
constexpr std::size_t kSampleBytes = 64 * 1024;
// The page widths of T.4 (A4, B4, A3) and its narrower ones.
constexpr std::uint32_t kWidths[] = {1728, 2048, 2432, 1216, 864};
// No fax page holds more lines; what follows is not handed on.
constexpr std::uint32_t kMostRows = kMaxPageRows;
constexpr std::uint32_t kFineFromRows = 1500;
constexpr std::uint16_t kXResolution = 204;
constexpr std::uint16_t kStandardLines = 98;
constexpr std::uint16_t kFineLines = 196;

}  // namespace

bool G3Reader::open(SourceBytes file) {
    if (!openBytes(file)) return false;
    dataStart_ = 0;
    if (layout_ == G3Layout::Digifax) {
        std::uint8_t header[kDigifaxHeaderSize] = {};
        if (readAt(0, header, sizeof header) != sizeof header ||
            std::memcmp(header + 1, kDigifaxSignature, sizeof kDigifaxSignature - 1) != 0) {
            refuse("it does not start with a Digifax header");
            return true;
        }
        fine_ = header[kDigifaxResolutionByte] == 1;
        dataStart_ = kDigifaxHeaderSize;
    }
    const std::int64_t dataSize = fileSize() - dataStart_;
    if (dataSize <= 0) {
        refuse("it holds no fax data");
        return true;
    }
    loadPageData(dataStart_, static_cast<std::size_t>(std::min<std::int64_t>(dataSize, kSampleBytes)));
    // The choice with the most good lines, less the bad ones; the first of equals.
    std::int64_t bestScore = 0;
    for (const std::uint32_t width : kWidths) {
        for (const ImageCoding coding : {ImageCoding::T4OneDimensional, ImageCoding::T4TwoDimensional}) {
            for (const std::uint8_t fillOrder : {std::uint8_t(2), std::uint8_t(1)}) {
                const CodedBlock trial{pageData(), coding, fillOrder, width, kMostRows};
                const BlockLines found = decodeCodedBlock(trial, nullptr);
                const std::int64_t score = std::int64_t(found.goodRows) - std::int64_t(found.bad);
                if (score <= bestScore) continue;
                bestScore = score;
                block_ = trial;
            }
        }
    }
    if (bestScore <= 0) {
        refuse("no Group 3 line decodes at any fax page width");
        return true;
    }
    listPages(1);
    return true;
}

bool G3Reader::describePage(std::uint16_t, LoadedPage& page) {
    loadPageData(dataStart_, static_cast<std::size_t>(fileSize() - dataStart_));
    block_.data = pageData();
    block_.maxRows = kMostRows;
    // The page is as long as its lines: counted before it is written.
    rows_ = decodeCodedBlock(block_, nullptr).kept;
    std::uint16_t lines = fine_ ? kFineLines : kStandardLines;
    if (layout_ == G3Layout::Raw)
        lines = verticalResolution_ ? verticalResolution_ : rows_ >= kFineFromRows ? kFineLines : kStandardLines;
    page.width = block_.width;
    page.length = std::max<std::uint32_t>(rows_, 1);
    page.xResolution = kXResolution;
    page.yResolution = lines;
    return true;
}

PageSummary G3Reader::decodeDescribedPage(LineSink* lines) {
    const BlockLines found = decodeCodedBlock(block_, lines);
    PageSummary summary;
    summary.width = block_.width;
    summary.rows = std::max<std::uint32_t>(rows_, 1);
    summary.coding = block_.coding;
    summary.linesMet = found.met;
    summary.badLines = found.bad;
    summary.goodRows = found.goodRows;
    summary.state = found.bad > 0 || found.goodRows == 0 ? PageState::Damaged : PageState::Ok;
    summary.bytesAnnounced = summary.bytesPresent = static_cast<std::uint32_t>(
        std::min<std::size_t>(block_.data.size(), 0xFFFFFFFFu));
    return summary;
}

}  // namespace quillon
