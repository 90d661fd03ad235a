#include "codec/test_pages.h"

#include <algorithm>
#include <random>

namespace quillon::test {

void Page::addRuns(const std::vector<unsigned>& runs) {
    const std::size_t start = pixels_.size();
    pixels_.resize(start + (width_ + 7) / 8, 0);
    unsigned x = 0;
    bool black = false;
    for (const unsigned run : runs) {
        for (unsigned i = 0; i < run && x < width_; ++i, ++x)
            if (black) pixels_[start + x / 8] |= std::uint8_t(0x80 >> (x % 8));
        black = !black;
    }
    ++rows_;
}

Page randomPage(unsigned width, unsigned rows, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::geometric_distribution<unsigned> shortRun(0.3);
    std::uniform_int_distribution<unsigned> longRun(0, width);
    std::uniform_int_distribution<int> kind(0, 9);
    Page page(width);
    std::vector<unsigned> runs;
    for (unsigned r = 0; r < rows; ++r) {
        if (r % 5 == 0 || runs.empty()) {
            runs.clear();
            for (unsigned sum = 0; sum < width;) {
                const unsigned run = kind(random) == 0 ? longRun(random) : shortRun(random) + (runs.empty() ? 0 : 1);
                runs.push_back(run);
                sum += run;
            }
        } else {
            for (unsigned& run : runs) run = unsigned(std::max(1, int(run) + kind(random) % 5 - 2));
        }
        page.addRuns(runs);
    }
    return page;
}

}  // namespace quillon::test
