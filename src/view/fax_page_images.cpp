#include "view/fax_page_images.h"

#include <algorithm>
#include <cmath>

#include "engine/convert_options.h"
#include "formats/format_readers.h"

namespace quillon {

FaxPageImages::FaxPageImages(const std::string& path) : file_(path) {
    if (!file_.error().empty()) {
        problem_ = file_.error();
        return;
    }
    reader_ = readerFor(inputFormat(path, file_.head()), ConvertOptions{}, path, file_.head());
    if (!reader_) {
        problem_ = "not a fax file of a format this program reads";
    } else if (!reader_->open(file_.contents()) || reader_->pageCount() == 0) {
        problem_ = reader_->refusal().empty() ? "no fax page in the file" : reader_->refusal();
        reader_.reset();
    }
}

FaxPageImages::~FaxPageImages() = default;

bool FaxPageImages::page(std::uint16_t index, std::uint32_t size, PageImage& shown) {
    if (!reader_ || index >= reader_->pageCount() || !reader_->loadPage(index)) return false;
    const LoadedPage loaded = reader_->loadedPage();
    ShrunkPage page({loaded.width, loaded.length, loaded.xResolution, loaded.yResolution}, size);
    // As a conversion writes the page: rows its header gives, lost lines white.
    const DecodedPage decoded = reader_->decodeLoadedPage(false, &page);
    shown.summary = decoded.summary;
    shown.xDpi = loaded.xResolution;
    shown.yDpi = loaded.yResolution;
    shown.image = page.image(std::max(decoded.summary.rows, 1u));
    const std::uint32_t rows = std::max(decoded.summary.rows, 1u);
    const std::uint32_t kept = std::min(decoded.decodedRows, rows);
    shown.lostFrom = std::min(shown.image.rows, std::uint32_t(std::floor(double(kept) / rows * shown.image.rows)));
    return true;
}

bool faxThumbnail(const std::string& path, std::uint32_t size, GrayImage& image, std::string& problem) {
    FaxPageImages fax(path);
    problem = fax.problem();
    if (!problem.empty()) return false;
    // The first pages are looked at for one with data: a fax whose first
    // pages are all empty gets no thumbnail rather than a file manager's wait.
    constexpr std::uint16_t kPagesLookedAt = 16;
    PageImage shown;
    for (std::uint16_t index = 0; index < std::min(fax.pageCount(), kPagesLookedAt); ++index) {
        if (!fax.page(index, size, shown)) break;
        if (shown.summary.state == PageState::Empty || shown.summary.rows == 0) continue;
        image = std::move(shown.image);
        return true;
    }
    problem = "no page of the file holds data";
    return false;
}

}  // namespace quillon
