#include "ocr/speckle_filter.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

// One byte per pixel, 1 for black, with a white border of one pixel so that
// every pixel of the page has eight neighbours.
class BlackPixels {
public:
    BlackPixels(const std::vector<std::uint8_t>& bits, std::uint32_t width, std::uint32_t rows,
                std::uint32_t bytesPerRow)
        : stride_(std::size_t(width) + 2), black_(stride_ * (std::size_t(rows) + 2), 0) {
        for (std::uint32_t row = 0; row < rows; ++row) {
            const std::uint8_t* from = bits.data() + std::size_t(row) * bytesPerRow;
            std::uint8_t* to = &black_[at(row, 0)];
            for (std::uint32_t x = 0; x < width; ++x) to[x] = (from[x / 8] & (0x80 >> (x % 8))) ? 0 : 1;
        }
    }
    std::size_t at(std::uint32_t row, std::uint32_t x) const { return (std::size_t(row) + 1) * stride_ + x + 1; }
    bool black(std::size_t i) const { return black_[i] != 0; }
    std::array<std::ptrdiff_t, 8> neighbours() const {
        const auto s = std::ptrdiff_t(stride_);
        return {-s - 1, -s, -s + 1, -1, 1, s - 1, s, s + 1};
    }
    int blackNeighbours(std::size_t i) const {
        int count = 0;
        for (const std::ptrdiff_t step : neighbours()) count += black_[std::size_t(std::ptrdiff_t(i) + step)];
        return count;
    }
    bool fourSidesBlack(std::size_t i) const {
        return black_[i - 1] && black_[i + 1] && black_[i - stride_] && black_[i + stride_];
    }
    // The patch of i when it has at most kMaxSpecklePixels pixels; count 0
    // when it is larger.
    struct Patch {
        std::array<std::size_t, kMaxSpecklePixels> pixels{};
        int count = 0;
    };
    Patch smallPatch(std::size_t i) const {
        Patch patch;
        patch.pixels[0] = i;
        patch.count = 1;
        for (int next = 0; next < patch.count; ++next)
            for (const std::ptrdiff_t step : neighbours()) {
                const std::size_t j = std::size_t(std::ptrdiff_t(patch.pixels[std::size_t(next)]) + step);
                if (!black_[j]) continue;
                bool known = false;
                for (int k = 0; k < patch.count; ++k) known = known || patch.pixels[std::size_t(k)] == j;
                if (known) continue;
                if (patch.count == kMaxSpecklePixels) return {};
                patch.pixels[std::size_t(patch.count++)] = j;
            }
        return patch;
    }

private:
    std::size_t stride_;
    std::vector<std::uint8_t> black_;
};

void setWhite(std::vector<std::uint8_t>& bits, std::uint32_t bytesPerRow, std::uint32_t row, std::uint32_t x) {
    bits[std::size_t(row) * bytesPerRow + x / 8] |= std::uint8_t(0x80 >> (x % 8));
}

void setBlack(std::vector<std::uint8_t>& bits, std::uint32_t bytesPerRow, std::uint32_t row, std::uint32_t x) {
    bits[std::size_t(row) * bytesPerRow + x / 8] &= std::uint8_t(~(0x80 >> (x % 8)));
}

}  // namespace

void removeSpeckle(std::vector<std::uint8_t>& bits, std::uint32_t width, std::uint32_t rows,
                   std::uint32_t bytesPerRow) {
    if (width == 0 || rows == 0 || bytesPerRow < (width + 7) / 8 || bits.size() < std::size_t(rows) * bytesPerRow)
        return;
    const BlackPixels before(bits, width, rows, bytesPerRow);
    const std::size_t stride = std::size_t(width) + 2;
    // Each small patch once: from its first pixel in the order rows are read.
    const auto firstOfPatch = [&](std::size_t i, BlackPixels::Patch& patch) {
        if (!before.black(i) || before.blackNeighbours(i) > kMaxSpecklePixels - 1) return false;
        patch = before.smallPatch(i);
        for (int k = 0; k < patch.count; ++k)
            if (patch.pixels[std::size_t(k)] < i) return false;
        return patch.count > 0;
    };
    std::vector<std::size_t> patchesInBand((rows + kSpeckleBandRows - 1) / kSpeckleBandRows, 0);
    BlackPixels::Patch patch;
    for (std::uint32_t row = 0; row < rows; ++row)
        for (std::uint32_t x = 0; x < width; ++x)
            if (firstOfPatch(before.at(row, x), patch)) ++patchesInBand[row / kSpeckleBandRows];

    for (std::uint32_t row = 0; row < rows; ++row) {
        const std::size_t band = row / kSpeckleBandRows;
        const std::uint32_t bandRows = std::min(kSpeckleBandRows, rows - std::uint32_t(band) * kSpeckleBandRows);
        if (patchesInBand[band] * kNoisyBandRatio <= std::size_t(width) * bandRows) continue;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t i = before.at(row, x);
            if (!before.black(i)) {
                if (before.fourSidesBlack(i)) setBlack(bits, bytesPerRow, row, x);
            } else if (firstOfPatch(i, patch)) {
                for (int k = 0; k < patch.count; ++k) {
                    const std::size_t j = patch.pixels[std::size_t(k)];
                    setWhite(bits, bytesPerRow, std::uint32_t(j / stride - 1), std::uint32_t(j % stride - 1));
                }
            }
        }
    }
}

}  // namespace quillon
