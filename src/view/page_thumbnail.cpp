#include "view/page_thumbnail.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// A page with no resolution is taken as a fine fax page.
constexpr std::uint16_t kFaxDpi = 200;

// Adds amount, times the share of each pixel the rectangle covers, to the
// pixels of a grid `width` wide and `rows` high (pixels are 1 by 1).
void addCovered(std::vector<float>& grid, std::uint32_t width, std::uint32_t rows, double left, double right,
                double top, double bottom, double amount) {
    for (auto r = std::uint32_t(top); r < std::min<double>(rows, std::ceil(bottom)); ++r) {
        const double rowShare = std::min(bottom, r + 1.0) - std::max(top, double(r));
        for (auto c = std::uint32_t(left); c < std::min<double>(width, std::ceil(right)); ++c)
            grid[std::size_t(r) * width + c] +=
                float(amount * rowShare * (std::min(right, c + 1.0) - std::max(left, double(c))));
    }
}

// Averages a small image of black shares down to width by rows.
std::vector<float> shrunk(const std::vector<float>& black, std::uint32_t width, std::uint32_t rows,
                          std::uint32_t toWidth, std::uint32_t toRows) {
    std::vector<float> out(std::size_t(toWidth) * toRows, 0);
    const double sx = double(toWidth) / width, sy = double(toRows) / rows;
    for (std::uint32_t y = 0; y < rows; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            addCovered(out, toWidth, toRows, x * sx, (x + 1) * sx, y * sy, (y + 1) * sy,
                       black[std::size_t(y) * width + x]);
    return out;
}

}  // namespace

ShrunkPage::ShrunkPage(const PageGeometry& page, std::uint32_t size)
    : pageWidth_(std::max(page.width, 1u)), size_(std::max(size, 1u)) {
    const double xDpi = page.xDpi ? page.xDpi : kFaxDpi, yDpi = page.yDpi ? page.yDpi : kFaxDpi;
    const double rowInColumns = xDpi / yDpi;  // a row's height in column widths
    const double height = std::max(page.rows, 1u) * rowInColumns;
    // Never larger than the page: a small page stays its size.
    scale_ = std::min(1.0, size_ / std::max(double(pageWidth_), height));
    rowHeight_ = rowInColumns * scale_;
    width_ = std::max(1u, std::uint32_t(std::lround(pageWidth_ * scale_)));
    mostRows_ = size_ + size_ / 2;
    black_.assign(std::size_t(width_) * mostRows_, 0);
}

void ShrunkPage::line(const std::uint32_t* runs, std::uint32_t count) {
    const double top = lines_++ * rowHeight_;
    if (top >= mostRows_) return;
    std::uint64_t x = 0;
    for (std::uint32_t i = 0; i < count && x < pageWidth_; ++i) {
        const std::uint64_t end = std::min<std::uint64_t>(x + runs[i], pageWidth_);
        if (i % 2 == 1 && end > x)
            addCovered(black_, width_, mostRows_, x * scale_, end * scale_, top, top + rowHeight_, 1);
        x = end;
    }
}

GrayImage ShrunkPage::image(std::uint32_t rows) const {
    GrayImage image;
    image.width = width_;
    image.rows = std::clamp<std::uint32_t>(std::uint32_t(std::lround(rows * rowHeight_)), 1, mostRows_);
    std::vector<float> black(black_.begin(), black_.begin() + std::ptrdiff_t(std::size_t(width_) * image.rows));
    // A page longer than its header said is made smaller again to fit.
    if (image.rows > size_) {
        const double fit = double(size_) / image.rows;
        const std::uint32_t width = std::max(1u, std::uint32_t(std::lround(width_ * fit)));
        black = shrunk(black, width_, image.rows, width, size_);
        image.width = width;
        image.rows = size_;
    }
    image.pixels.resize(black.size());
    for (std::size_t i = 0; i < black.size(); ++i)
        image.pixels[i] = std::uint8_t(std::lround(255 * (1 - std::clamp(black[i], 0.0f, 1.0f))));
    return image;
}

}  // namespace quillon
