#include "engine/page_pipeline.h"

#include <algorithm>
#include <optional>
#include <string>

#include "codec/bit_tables.h"
#include "codec/line_sink.h"
#include "codec/t6_encoder.h"
#include "engine/page_fingerprint.h"

namespace quillon {

namespace {

// Rows of one strip: a band of about this many bytes of pixels.
constexpr std::uint32_t kG4BandBytes = 64 * 1024;

// Codes the lines of one page as they come and writes a strip whenever a
// band of rows is complete.
class G4PageWriter final : public LineSink {
public:
    G4PageWriter(G4PageOutput& output, std::uint32_t width, std::uint32_t rowsPerStrip, bool msbFirst,
                 bool fingerprint)
        : output_(output), encoder_(width), rowsPerStrip_(rowsPerStrip), msbFirst_(msbFirst) {
        if (fingerprint) fingerprint_.emplace(width);
    }

    void line(const std::uint32_t* runs, std::uint32_t count) override {
        encoder_.encodeRow(runs, count);
        if (fingerprint_) fingerprint_->line(runs, count);
        rowDone();
    }
    // Adds white rows up to rows and writes the last strip.
    bool finish(std::uint32_t rows) {
        while (rows_ < rows) {
            encoder_.encodeWhiteRow();
            if (fingerprint_) fingerprint_->whiteRow();
            rowDone();
        }
        if (rows_ % rowsPerStrip_ != 0) writeStrip();
        return ok_;
    }

private:
    void rowDone() {
        if (++rows_ % rowsPerStrip_ != 0) return;
        writeStrip();
        encoder_.startStrip();
    }
    void writeStrip() {
        const std::span<const std::uint8_t> strip = encoder_.finishStrip();
        if (!msbFirst_) {
            ok_ = ok_ && output_.writeStrip(strip);
            return;
        }
        reversed_.resize(strip.size());
        for (std::size_t i = 0; i < strip.size(); ++i) reversed_[i] = bit_tables::kReversed[strip[i]];
        ok_ = ok_ && output_.writeStrip(reversed_);
    }

public:
    // The SHA-256 of the rows written, once finished; empty when not asked for.
    std::string fingerprint() { return fingerprint_ ? fingerprint_->hex() : std::string(); }

private:
    G4PageOutput& output_;
    T6Encoder encoder_;
    std::optional<PageFingerprint> fingerprint_;
    std::uint32_t rowsPerStrip_;
    bool msbFirst_;
    std::vector<std::uint8_t> reversed_;
    std::uint32_t rows_ = 0;
    bool ok_ = true;
};

G4PageFields pageFields(const LoadedPage& page, std::uint16_t index, std::uint16_t pageCount, G4Layout layout) {
    G4PageFields fields;
    fields.width = page.width;
    fields.rowsPerStrip = layout.stripPerPage ? page.length
                                              : std::clamp<std::uint32_t>(kG4BandBytes * 8 / page.width, 1, page.length);
    fields.msbFirst = layout.msbFirst;
    fields.xResolution = page.xResolution;
    fields.yResolution = page.yResolution;
    fields.pageIndex = index;
    fields.pageCount = pageCount;
    fields.group4Options = page.group4Options;
    return fields;
}

}  // namespace

bool writeFaxPagesG4(FaxPages& pages, G4PageOutput& output, std::uint16_t first, std::uint16_t count, bool recount,
                     bool fingerprint, std::vector<PageSummary>& written, G4Layout layout, const DecodedAhead* ahead) {
    bool ok = true;
    for (std::uint16_t index = first; index < first + count; ++index) {
        if (!pages.loadPage(index)) return false;
        const G4PageFields fields = pageFields(pages.loadedPage(), index, pages.pageCount(), layout);
        ok = ok && output.beginPage(fields);
        G4PageWriter page(output, fields.width, fields.rowsPerStrip, layout.msbFirst, fingerprint);
        PageSummary summary;
        if (ahead && ahead->index == index && ahead->lines.complete()) {
            summary = ahead->summary;
            if (ok) ahead->lines.replay(page);
        } else {
            summary = pages.decodeLoadedPage(recount, ok ? &page : nullptr).summary;
        }
        ok = ok && page.finish(summary.rows) && output.endPage(summary.rows);
        summary.sha256 = page.fingerprint();
        written.push_back(summary);
    }
    return ok;
}

}  // namespace quillon
