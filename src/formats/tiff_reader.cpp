#include "formats/tiff_reader.h"

#include <algorithm>

#include "codec/row_runs.h"
#include "formats/coded_block.h"
#include "formats/fax_reader.h"

namespace quillon {

namespace {

// Pages of a file without resolution fields are taken as fine fax pages.
constexpr std::uint16_t kDefaultResolution = 200;
// Page numbers are 16-bit: pages beyond are not counted.
constexpr std::uint32_t kMostPagesCounted = 65535;

}  // namespace

bool TiffReader::open(SourceBytes file) {
    leftOut().clear();
    std::string why;
    if (!source_.open(file, name_, why)) {
        // Read, but no TIFF file: it lists no page and says why.
        refuse(why);
        return true;
    }
    const std::uint32_t pages = source_.countPages(kMostPagesCounted);
    // Every page is looked at first: a file with a page that is not taken
    // fails whole rather than losing a page silently.
    const std::uint32_t listed = std::min<std::uint32_t>(pages, FaxReader::kMaxPages);
    for (std::uint32_t index = 0; index < listed; ++index) {
        TiffPage page;
        if (!source_.selectPage(index, page, why)) {
            refuse("page " + std::to_string(index + 1) + " of " + std::to_string(pages) + " is " + why);
            return true;
        }
    }
    if (listed == 0) {
        refuse("it holds no page");
        return true;
    }
    listPages(static_cast<std::uint16_t>(listed));
    for (std::uint32_t index = listed; index < pages; ++index)
        leftOut().push_back({0, 0, ImageCoding::T6, PageState::LeftOut});
    return true;
}

bool TiffReader::describePage(std::uint16_t index, LoadedPage& page) {
    std::string why;
    if (!source_.selectPage(index, page_, why)) return false;
    page.width = page_.width;
    page.length = page_.length;
    page.xResolution = page_.xResolution ? page_.xResolution : kDefaultResolution;
    page.yResolution = page_.yResolution ? page_.yResolution : page.xResolution;
    page.group4Options = page_.coding == ImageCoding::T6;
    return true;
}

PageSummary TiffReader::decodeDescribedPage(LineSink* lines) {
    PageSummary summary = page_.ccittCoded ? decodeStrips(lines) : decodeRows(lines);
    summary.width = page_.width;
    summary.rows = page_.length;
    summary.coding = page_.coding;
    summary.state = summary.badLines > 0 || summary.goodRows < page_.length ? PageState::Damaged : PageState::Ok;
    return summary;
}

PageSummary TiffReader::decodeStrips(LineSink* lines) {
    PageSummary summary;
    // Coded white is a 0 bit: on a MinIsBlack page it shows black.
    RowCounter rows(lines, page_.width, page_.minIsBlack);
    bool everyStripMarked = page_.coding == ImageCoding::T6;
    for (std::uint32_t strip = 0; strip < page_.strips; ++strip) {
        const std::uint64_t top = std::uint64_t(strip) * page_.rowsPerStrip;
        if (top >= page_.length) break;
        // Each strip starts at its own row, whatever the strips before held.
        rows.whiteRowsUpTo(static_cast<std::uint32_t>(top));
        const auto stripRows = static_cast<std::uint32_t>(std::min<std::uint64_t>(page_.rowsPerStrip, page_.length - top));
        if (!source_.readRawStrip(strip, strip_)) {
            everyStripMarked = false;
            continue;
        }
        const BlockLines found =
            decodeCodedBlock({strip_, page_.coding, page_.fillOrder, page_.width, stripRows}, &rows);
        summary.linesMet += found.met;
        summary.badLines += found.bad;
        summary.goodRows += found.goodRows;
        everyStripMarked = everyStripMarked && found.endMarked;
    }
    summary.endMarked = everyStripMarked;
    return summary;
}

PageSummary TiffReader::decodeRows(LineSink* lines) {
    PageSummary summary;
    RowCounter rows(lines, page_.width, false);
    std::vector<std::uint32_t> runs;
    const bool read = source_.readRows([&](const std::uint8_t* row) {
        if (!row) {
            ++summary.badLines;
            rows.whiteRowsUpTo(rows.rows() + 1);
            return;
        }
        rowRuns(row, page_.width, !page_.minIsBlack, runs);
        rows.line(runs.data(), static_cast<std::uint32_t>(runs.size()));
    });
    if (!read) summary.badLines = page_.length;
    summary.linesMet = page_.length;
    summary.goodRows = page_.length - std::min(page_.length, summary.badLines);
    return summary;
}

}  // namespace quillon
