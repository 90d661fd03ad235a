// The readers of the formats beside WinFax, each through the whole
// conversion (conversion_check.h). TIFF files have an oracle of their own:
// when libtiff reads every page of the source whole and the conversion
// found no damage, the pages written are libtiff's pixels, bit for bit.

#include <filesystem>
#include <vector>

#include "conversion_check.h"
#include "engine/page_fingerprint.h"
#include "fuzz_targets.h"
#include "oracle.h"
#include "tiff/bilevel_pages.h"

namespace quillon::fuzz {

namespace {

int convertAs(const std::uint8_t* data, std::size_t size, const char* sourceName, const char* format) {
    if (size < 1) return 0;
    removeOutputs(convertChecked(data, size, sourceName, *InputFormats::parse(format)));
    return 0;
}

// The pages of a TIFF file as libtiff reads them, each row in canonical form.
class CollectedPages final : public BilevelPageSink {
public:
    struct Page {
        std::uint32_t width = 0;
        std::vector<std::vector<std::uint8_t>> rows;
    };
    void beginPage(std::uint32_t width, std::uint32_t) override { pages.push_back({width, {}}); }
    void row(std::span<const std::uint8_t> packed) override {
        pages.back().rows.emplace_back(packed.begin(), packed.end());
    }
    void pageUnreadable(const std::string&) override { whole = false; }

    std::vector<Page> pages;
    bool whole = true;
};

}  // namespace

int tiffReader(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const FileOutcome outcome = convertChecked(data, size, "in.tif", *InputFormats::parse("tiff"));
    const bool undamaged = outcome.result == FileResult::Converted && !outcome.hasDamage();
    // One file per page would need each compared on its own: only one output is.
    if (undamaged && outcome.outputs.size() == 1 && (data[0] & 4) == 0) {
        CollectedPages source, written;
        std::string why;
        const bool sourceRead = readBilevelTiff(outcome.source, source, why) && source.whole;
        expect(readBilevelTiff(outcome.outputs.front(), written, why) && written.whole, "output unreadable: " + why);
        if (sourceRead) {
            expect(source.pages.size() == written.pages.size(), "page count differs from libtiff's reading");
            for (std::size_t page = 0; page < source.pages.size(); ++page)
                expect(source.pages[page].width == written.pages[page].width &&
                           source.pages[page].rows == written.pages[page].rows,
                       "page " + std::to_string(page + 1) + " differs from libtiff's reading of the source");
        }
    }
    removeOutputs(outcome);
    return 0;
}

int dcxReader(const std::uint8_t* data, std::size_t size) { return convertAs(data, size, "in.dcx", "dcx"); }

// Byte 1 bit 0: a Digifax file (".g3f", its header written by the fuzzer)
// rather than raw data (".g3n").
int g3Reader(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool digifax = data[1] & 1;
    std::vector<std::uint8_t> bytes{data[0]};
    bytes.insert(bytes.end(), data + 2, data + size);
    return convertAs(bytes.data(), bytes.size(), digifax ? "in.g3f" : "in.g3n", digifax ? "digifax,g3" : "g3");
}

int calsReader(const std::uint8_t* data, std::size_t size) { return convertAs(data, size, "in.cal", "cals"); }

int bmpReader(const std::uint8_t* data, std::size_t size) { return convertAs(data, size, "in.bmp", "bmp"); }

}  // namespace quillon::fuzz
