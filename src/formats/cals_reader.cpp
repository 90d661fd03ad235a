#include "formats/cals_reader.h"

#include <charconv>
#include <string_view>

#include "formats/coded_block.h"

#include "codec/fax_decoder.h"

namespace quillon {

namespace {

constexpr std::size_t kHeaderSize = 2048;
constexpr std::size_t kRecordSize = 128;
constexpr std::uint16_t kDefaultDensity = 200;

// The value of the record named key ("rtype"), without blanks around it;
// empty when the header has no such record.
std::string_view recordValue(std::string_view header, std::string_view key) {
    for (std::size_t at = 0; at + kRecordSize <= header.size(); at += kRecordSize) {
        std::string_view record = header.substr(at, kRecordSize);
        if (record.substr(0, key.size()) != key || record.substr(key.size(), 1) != ":") continue;
        record.remove_prefix(key.size() + 1);
        const std::size_t first = record.find_first_not_of(' ');
        if (first == std::string_view::npos) return {};
        record.remove_prefix(first);
        return record.substr(0, record.find_last_not_of(" \r\n\0", std::string_view::npos, 4) + 1);
    }
    return {};
}

bool parseNumber(std::string_view text, std::uint32_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool CalsReader::open(SourceBytes file) {
    if (!openBytes(file)) return false;
    char bytes[kHeaderSize] = {};
    if (readAt(0, reinterpret_cast<std::uint8_t*>(bytes), kHeaderSize) != kHeaderSize) {
        refuse("it is shorter than a CALS header");
        return true;
    }
    const std::string_view header(bytes, kHeaderSize);
    const std::string_view type = recordValue(header, "rtype");
    if (type.empty()) {
        refuse("it has no CALS header (no rtype record)");
        return true;
    }
    if (type != "1") {
        refuse("a CALS file of type " + std::string(type) + "; only type 1 (one Group 4 page) is read");
        return true;
    }
    const std::string_view orientation = recordValue(header, "rorient");
    if (!orientation.empty() && orientation != "000,270") {
        refuse("a CALS page turned (rorient " + std::string(orientation) + "); only upright pages (000,270) are read");
        return true;
    }
    const std::string_view size = recordValue(header, "rpelcnt");
    const std::size_t comma = size.find(',');
    if (comma == std::string_view::npos || !parseNumber(size.substr(0, comma), width_) ||
        !parseNumber(size.substr(comma + 1), length_) || width_ == 0 || width_ > kMaxPageWidth || length_ == 0 ||
        length_ > kMaxPageRows) {
        refuse("its page size (rpelcnt " + std::string(size) + ") is no fax page's");
        return true;
    }
    std::uint32_t density = 0;
    density_ = parseNumber(recordValue(header, "rdensty"), density) && density > 0 && density <= 65535
                   ? static_cast<std::uint16_t>(density)
                   : kDefaultDensity;
    listPages(1);
    return true;
}

bool CalsReader::describePage(std::uint16_t, LoadedPage& page) {
    loadPageData(kHeaderSize, static_cast<std::size_t>(std::max<std::int64_t>(0, fileSize() - std::int64_t(kHeaderSize))));
    page.width = width_;
    page.length = length_;
    page.xResolution = page.yResolution = density_;
    page.group4Options = true;
    return true;
}

PageSummary CalsReader::decodeDescribedPage(LineSink* lines) {
    RowCounter rows(lines, width_, false);
    const BlockLines found = decodeCodedBlock({pageData(), ImageCoding::T6, 1, width_, length_}, &rows);
    PageSummary summary;
    summary.width = width_;
    summary.rows = length_;
    summary.coding = ImageCoding::T6;
    summary.linesMet = found.met;
    summary.badLines = found.bad;
    summary.goodRows = found.goodRows;
    summary.endMarked = found.endMarked;
    summary.state = pageData().empty()                       ? PageState::Empty
                    : found.bad > 0 || found.goodRows < length_ ? PageState::Damaged
                                                                : PageState::Ok;
    return summary;
}

}  // namespace quillon
