#include "records/output_check.h"

#include <memory>
#include <optional>

#include "run/convert/loaded_modules.h"
#include "engine/page_fingerprint.h"
#include "platform/files.h"
#include "tiff/bilevel_pages.h"

namespace quillon {

namespace {

// The fingerprint of every page read back, one page's digest open at a time.
class PageFingerprints final : public BilevelPageSink {
public:
    struct Page {
        std::uint32_t width = 0;
        std::uint32_t rows = 0;
        std::string sha256;  // empty when its rows could not all be read
    };

    void beginPage(std::uint32_t width, std::uint32_t rows) override {
        finishPage();
        pages_.push_back({width, rows, {}});
        digest_.emplace(width);
    }
    void row(std::span<const std::uint8_t> packed) override { digest_->packedRow(packed.data()); }
    void pageUnreadable(const std::string&) override { digest_.reset(); }
    // A page whose image could not be found or decoded at all.
    void missingPage() {
        finishPage();
        pages_.emplace_back();
    }
    const std::vector<Page>& pages() {
        finishPage();
        return pages_;
    }

private:
    void finishPage() {
        if (digest_) pages_.back().sha256 = digest_->hex();
        digest_.reset();
    }

    std::vector<Page> pages_;
    std::optional<PageFingerprint> digest_;
};

// Reads the output's pages back by its kind; false, with why, when not one could be.
bool readPages(const RecordedOutput& output, PageFingerprints& pages, std::string& why) {
    if (output.kind == OutputKind::Tiff) return readBilevelTiff(output.path, pages, why) || !pages.pages().empty();
    std::string error;
    const PdfPageImageReader reader = pdfPageImageReader(error);
    if (!reader) {
        why = "PDF files cannot be read: " + error;
        return false;
    }
    std::vector<PdfPageImage> images;
    if (!reader(output.path, images, why)) return false;
    for (const PdfPageImage& image : images) {
        std::string pageWhy;
        if (!image.problem.empty() ||
            !readGroup4Image(image.data, image.width, image.rows, image.blackIs1, pages, pageWhy))
            pages.missingPage();
    }
    return true;
}

OutputCheck checkOutput(const RecordedOutput& output) {
    OutputCheck check;
    check.path = output.path;
    check.pagesRecorded = std::uint32_t(output.pages.size());
    if (platform::pathKind(output.path) == platform::PathKind::Missing) {
        check.state = OutputState::Missing;
        return check;
    }
    check.sha256 = fileSha256(output.path);
    if (check.sha256.empty()) {
        check.state = OutputState::Unreadable;
        check.detail = "it cannot be read";
        if (const std::string error = platform::readError(output.path); !error.empty()) check.detail += " (" + error + ")";
        return check;
    }
    const bool bytesChanged = check.sha256 != output.sha256;
    check.state = bytesChanged ? OutputState::Changed : OutputState::Verified;
    if (output.kind == OutputKind::Other) return check;

    PageFingerprints read;
    if (!readPages(output, read, check.detail)) {
        check.state = OutputState::Unreadable;
        return check;
    }
    const std::vector<PageFingerprints::Page>& pages = read.pages();
    check.pagesFound = std::uint32_t(pages.size());
    for (std::size_t i = 0; i < output.pages.size(); ++i) {
        const RecordedPage& recorded = output.pages[i];
        const bool same = i < pages.size() && !pages[i].sha256.empty() && pages[i].width == recorded.width &&
                          pages[i].rows == recorded.rows && pages[i].sha256 == recorded.sha256;
        if (!same) check.differingPages.push_back(recorded.index);
    }
    if (!check.differingPages.empty() || check.pagesFound != check.pagesRecorded) check.state = OutputState::Changed;
    return check;
}

}  // namespace

VerifyOutcome checkRecordedFile(const RecordedFile& file, bool checkSource) {
    VerifyOutcome outcome;
    outcome.source = file.source;
    outcome.reportLine = file.line;
    if (!file.problem.empty()) {
        outcome.verdict = FileVerdict::Unverifiable;
        outcome.problem = file.problem;
        return outcome;
    }
    bool changed = false, missing = false;
    for (const RecordedOutput& output : file.outputs) {
        const OutputCheck& check = outcome.outputs.emplace_back(checkOutput(output));
        changed = changed || check.state == OutputState::Changed || check.state == OutputState::Unreadable;
        missing = missing || check.state == OutputState::Missing;
    }
    if (checkSource) {
        if (platform::pathKind(file.source) == platform::PathKind::Missing) outcome.sourceState = SourceState::Missing;
        else if (fileSha256(file.source) != file.sourceSha256) outcome.sourceState = SourceState::Changed;
        else outcome.sourceState = SourceState::Verified;
        changed = changed || outcome.sourceState == SourceState::Changed;
        missing = missing || outcome.sourceState == SourceState::Missing;
    }
    outcome.verdict = changed ? FileVerdict::Changed : missing ? FileVerdict::Missing : FileVerdict::Verified;
    return outcome;
}

}  // namespace quillon
