#include "codec/row_runs.h"

namespace quillon {

void rowRuns(const std::uint8_t* row, std::uint32_t width, bool blackIs1, std::vector<std::uint32_t>& runs) {
    runs.clear();
    const std::uint8_t blackBit = blackIs1 ? 1 : 0;
    std::uint8_t colour = blackBit ^ 1;  // runs start white
    std::uint32_t start = 0;
    for (std::uint32_t x = 0; x < width; ++x) {
        const std::uint8_t bit = (row[x >> 3] >> (7 - (x & 7))) & 1;
        if (bit == colour) continue;
        runs.push_back(x - start);
        start = x;
        colour = bit;
    }
    runs.push_back(width - start);
}

}  // namespace quillon
