#pragma once
// Bitmaps for the codec tests, built from run lengths (1 = black, rows padded
// to whole bytes).

#include <cstdint>
#include <vector>

namespace quillon::test {

class Page {
public:
    explicit Page(unsigned width) : width_(width) {}
    unsigned width() const { return width_; }
    unsigned rows() const { return rows_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    // A row from run lengths, first run white; pixels after the last run stay white.
    void addRuns(const std::vector<unsigned>& runs);

private:
    unsigned width_;
    unsigned rows_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// Rows of random runs, short ones mostly; every fifth row new, the others the
// row above with its runs nudged, as text and drawings look to a 2D coder.
Page randomPage(unsigned width, unsigned rows, std::uint32_t seed);

}  // namespace quillon::test
