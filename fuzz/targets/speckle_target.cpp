// A page's pixels through the line-noise filter of text recognition, against
// a plain reading of its rule: whole 8-connected patches of black, counted by
// breadth-first search, rows judged band by band. The filter works on packed
// bits with padding; the reference on one bool a pixel.

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "fuzz_targets.h"
#include "ocr/speckle_filter.h"
#include "oracle.h"

namespace quillon::fuzz {

namespace {

constexpr std::uint32_t kBandRows = kSpeckleBandRows;

struct Grid {
    std::uint32_t width = 0, rows = 0;
    std::vector<char> black;
    bool at(std::int64_t row, std::int64_t x) const {
        return row >= 0 && x >= 0 && row < rows && x < width && black[std::size_t(row) * width + std::size_t(x)];
    }
};

Grid reference(const Grid& page) {
    Grid out = page;
    std::vector<int> patchOf(page.black.size(), -1);
    std::vector<std::vector<std::size_t>> patches;
    for (std::size_t start = 0; start < page.black.size(); ++start) {
        if (!page.black[start] || patchOf[start] >= 0) continue;
        std::vector<std::size_t> patch{start};
        patchOf[start] = int(patches.size());
        for (std::size_t next = 0; next < patch.size(); ++next) {
            const std::int64_t row = std::int64_t(patch[next] / page.width), x = std::int64_t(patch[next] % page.width);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (page.at(row + dy, x + dx)) {
                        const std::size_t j = std::size_t(row + dy) * page.width + std::size_t(x + dx);
                        if (patchOf[j] < 0) patchOf[j] = int(patches.size()), patch.push_back(j);
                    }
        }
        patches.push_back(patch);  // its first pixel comes first: the scan found it
    }
    std::vector<std::size_t> inBand((page.rows + kBandRows - 1) / kBandRows, 0);
    for (const auto& patch : patches)
        if (patch.size() <= std::size_t(kMaxSpecklePixels)) ++inBand[patch[0] / page.width / kBandRows];
    const auto noisy = [&](std::uint32_t row) {
        const std::uint32_t band = row / kBandRows;
        const std::uint32_t bandRows = std::min(kBandRows, page.rows - band * kBandRows);
        return inBand[band] * kNoisyBandRatio > std::size_t(page.width) * bandRows;
    };
    for (std::uint32_t row = 0; row < page.rows; ++row) {
        if (!noisy(row)) continue;
        for (std::uint32_t x = 0; x < page.width; ++x)
            if (!page.at(row, x) && page.at(row - 1, x) && page.at(row + 1, x) && page.at(row, x - 1) &&
                page.at(row, x + 1))
                out.black[std::size_t(row) * page.width + x] = 1;
    }
    for (const auto& patch : patches)
        if (patch.size() <= std::size_t(kMaxSpecklePixels) && noisy(std::uint32_t(patch[0] / page.width)))
            for (const std::size_t i : patch) out.black[i] = 0;
    return out;
}

}  // namespace

int speckleFilter(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    Grid page;
    page.width = (std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8) % 512 + 1;
    const std::uint32_t bytesPerRow = (page.width + 7) / 8;
    std::vector<std::uint8_t> bits;
    if (data[2] & 1) {
        page.rows = std::uint32_t(std::min<std::size_t>((size - 3) / bytesPerRow, 256));
        if (page.rows == 0) return 0;
        bits.assign(data + 3, data + 3 + std::size_t(page.rows) * bytesPerRow);
    } else {
        page.rows = std::uint32_t(data[3]) + 1;
        bits.assign(std::size_t(page.rows) * bytesPerRow, 0xFF);
        for (std::size_t i = 4; i + 2 < size; i += 3) {
            const std::uint32_t x = (std::uint32_t(data[i]) | std::uint32_t(data[i + 1]) << 8) % page.width;
            const std::uint32_t row = data[i + 2] % page.rows;
            bits[std::size_t(row) * bytesPerRow + x / 8] &= std::uint8_t(~(0x80 >> (x % 8)));
        }
    }
    page.black.resize(std::size_t(page.width) * page.rows);
    for (std::uint32_t row = 0; row < page.rows; ++row)
        for (std::uint32_t x = 0; x < page.width; ++x)
            page.black[std::size_t(row) * page.width + x] = !(bits[std::size_t(row) * bytesPerRow + x / 8] & (0x80 >> (x % 8)));

    std::vector<std::uint8_t> filtered = bits;
    removeSpeckle(filtered, page.width, page.rows, bytesPerRow);
    const Grid expected = reference(page);
    for (std::uint32_t row = 0; row < page.rows; ++row)
        for (std::uint32_t x = 0; x < page.width; ++x) {
            const bool black = !(filtered[std::size_t(row) * bytesPerRow + x / 8] & (0x80 >> (x % 8)));
            if (black != bool(expected.black[std::size_t(row) * page.width + x]))
                oracleFailed("pixel " + std::to_string(x) + "," + std::to_string(row) + " of a page " +
                             std::to_string(page.width) + " x " + std::to_string(page.rows) + " should be " +
                             (black ? "white" : "black"));
        }
    // Padding bits past the width are left as they were.
    for (std::uint32_t row = 0; row < page.rows; ++row) {
        const std::size_t last = std::size_t(row) * bytesPerRow + bytesPerRow - 1;
        const std::uint8_t padding = std::uint8_t(0xFF >> (page.width - (bytesPerRow - 1) * 8));
        if ((filtered[last] & padding) != (bits[last] & padding))
            oracleFailed("padding bits changed in row " + std::to_string(row));
    }
    return 0;
}

}  // namespace quillon::fuzz
