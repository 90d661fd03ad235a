#include "formats/winfax_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

constexpr std::uint16_t kXResolution = 200;
constexpr std::uint8_t kFillOrderLsbFirst = 2;
constexpr std::uint8_t kT6FlagCount = 3;
constexpr std::size_t kMaxChainPages = 65535;

}  // namespace

HeaderCheck WinFaxReader::checkHeader(std::int64_t position) {
    if (!isOpen()) return HeaderCheck::NotOpen;
    // Bytes beyond the end of the file read as zero.
    std::memset(rawHeader_, 0, sizeof rawHeader_);
    readAt(position, rawHeader_, sizeof rawHeader_);
    header_ = WinFaxPageHeader::parse(rawHeader_);
    return header_.signature ? HeaderCheck::Signature : HeaderCheck::NoSignature;
}

std::uint16_t WinFaxReader::countPages() {
    clearPages();
    leftOut_.clear();
    std::int64_t position = 0;
    while (checkHeader(position) == HeaderCheck::Signature) {
        if (!addPagePosition(static_cast<std::uint32_t>(position))) {
            // A further page behind a full table: not converted, but named.
            leftOut_.push_back({header_.width ? header_.width : WinFaxPageHeader::kDefaultWidth, 0,
                                header_.isT6() ? ImageCoding::T6 : ImageCoding::T4OneDimensional, PageState::LeftOut});
            // Page numbers are 16-bit: a longer chain is not walked further.
            if (kMaxPages + leftOut_.size() >= kMaxChainPages) break;
        }
        const std::int64_t next = header_.nextPosition;
        // A chain that does not advance would visit the same headers forever.
        if (next <= position || next >= fileSize() || next > std::numeric_limits<std::uint32_t>::max()) break;
        position = next;
    }
    if (pageCount() == 0) closeBytes();
    return pageCount();
}

bool WinFaxReader::readPageHeader(std::uint16_t index) {
    if (!isOpen() || index >= pageCount()) return false;
    const std::int64_t position = pagePosition(index);
    checkHeader(position);
    if (header_.width == 0) header_.width = WinFaxPageHeader::kDefaultWidth;
    if (header_.length == 0) header_.length = WinFaxPageHeader::kDefaultLength;
    // A negative length means no data. Data end at the next listed page (or
    // the end of the file): pages that each claim the rest of the file would
    // otherwise make the output and the recount work up to 1024 times the input.
    const std::int64_t end = index + 1 < pageCount() ? std::int64_t(pagePosition(index + 1)) : fileSize();
    const std::int64_t remaining = std::max<std::int64_t>(0, end - position - std::int64_t(WinFaxPageHeader::kSize));
    dataAnnounced_ = static_cast<std::uint32_t>(std::max<std::int32_t>(header_.dataLength, 0));
    dataLength_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(header_.dataLength, 0, remaining));
    // Only the last page can run past the end of the file: the others end
    // where the next listed page begins.
    fileEndsInside_ = end == fileSize() && dataAnnounced_ > dataLength_;
    xResolution_ = kXResolution;
    yResolution_ = header_.yResolution();
    return true;
}

bool WinFaxReader::open(SourceBytes file) {
    if (!openBytes(file)) return false;
    countPages();
    return true;
}

bool WinFaxReader::loadPage(std::uint16_t index) {
    if (!readPageHeader(index)) return false;
    loadPageData(std::int64_t(pagePosition(index)) + std::int64_t(WinFaxPageHeader::kSize), dataLength_);
    return true;
}

LoadedPage WinFaxReader::loadedPage() const {
    // Pages without data are written as white T.6 pages.
    return {header_.width, header_.length, xResolution_, yResolution_, header_.isT6() || pageData().empty()};
}

DecodedPage WinFaxReader::decodeLoadedPage(bool recount, LineSink* lines) {
    DecodedPage page = decodeData(lines);
    // Pages without lines keep their header's length: a white page has as
    // many as the header says, and an undecodable page keeps its size.
    page.summary.rows = recount && page.decodedRows > 0 ? page.decodedRows : header_.length;
    if (pageData().empty()) page.summary.coding = ImageCoding::T6;
    return page;
}

DecodedPage WinFaxReader::decodeData(LineSink* lines) const {
    FaxImage image;
    const std::vector<std::uint8_t>& data = pageData();
    FaxDecoder decoder;
    const auto length = static_cast<std::int32_t>(data.size());
    if (header_.isT6()) {
        decoder.initDecoderT6(data.data(), length, kFillOrderLsbFirst, 0, 0, kT6FlagCount);
        // The TIFF page expects the data to decode from their first bit.
        decoder.setRawStart(true);
    } else {
        decoder.initDecoder(data.data(), length, kFillOrderLsbFirst, ImageCoding::T4OneDimensional, 0);
    }
    decoder.setGeometry(header_.width, header_.length);
    // Only the line count is needed; a raster of a 65535 x 65535 header
    // would take half a gigabyte.
    decoder.setCountOnly(true);
    decoder.setLineSink(lines);
    if (!data.empty()) {
        if (!header_.isT6()) decoder.decodePage(image);
        else if (decoder.findT6Start(T6Search::FromFirstByte) == LoadStatus::Loaded) decoder.decodePageT6(image);
    }
    image.rows = std::min<std::uint32_t>(image.rows, header_.length);

    DecodedPage page;
    page.decodedRows = image.rows;
    PageSummary& summary = page.summary;
    summary.width = header_.width;
    summary.coding = header_.isT6() ? ImageCoding::T6 : ImageCoding::T4OneDimensional;
    summary.linesMet = decoder.decodedLines() + decoder.droppedLines();
    summary.badLines = decoder.droppedLines() + decoder.overlongLines();
    summary.endMarked = decoder.sawEndOfBlock();
    summary.goodRows = decoder.goodRows();
    summary.bytesAnnounced = dataAnnounced_;
    summary.bytesPresent = dataLength_;
    if (fileEndsInside_) summary.state = PageState::Cut;
    else if (data.empty()) summary.state = PageState::Empty;
    else if (summary.badLines > 0 || image.rows == 0) summary.state = PageState::Damaged;
    else summary.state = PageState::Ok;
    return page;
}

}  // namespace quillon
