// Pages coded by libtiff in every coding and fill order decode here to the
// same rows as libtiff's own decoder gives.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "codec/codec_test_util.h"

namespace quillon::test {
namespace {

class Page {
public:
    explicit Page(unsigned width) : width_(width) {}
    unsigned width() const { return width_; }
    unsigned rows() const { return rows_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    // A row from run lengths, first run white; the last run fills up the width.
    void addRuns(const std::vector<unsigned>& runs) {
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

private:
    unsigned width_;
    unsigned rows_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// Rows that reach the coding's corners: empty and full lines, one-pixel
// runs, runs across the make-up steps (64, 1728, 2560), edges that move by
// one to three pixels (vertical modes) and by more (horizontal and pass).
Page structuredPage(unsigned width) {
    Page page(width);
    page.addRuns({width});
    page.addRuns({0, width});
    page.addRuns({width});
    // (libtiff's own decoder refuses a line of nothing but one-pixel runs.)
    std::vector<unsigned> alternating(width / 4, 1);
    alternating.push_back(width);
    page.addRuns(alternating);
    alternating.insert(alternating.begin(), 0);
    page.addRuns(alternating);
    for (const unsigned step : {63u, 64u, 65u, 127u, 128u, 1727u, 1728u, 1729u, 2559u, 2560u, 2561u, 2624u}) {
        if (step >= width) continue;
        page.addRuns({step, 1, step});
        page.addRuns({0, step, 2});
    }
    page.addRuns({width - 1, 1});
    page.addRuns({0, 1, width - 2});
    for (unsigned shift = 0; shift < 12; ++shift) page.addRuns({width / 3 + shift % 4, shift + 1, 5, 7, width / 4});
    page.addRuns({width / 2, width / 8, 3, width / 16});
    page.addRuns({3, width / 8, 3, width / 8});  // pass mode: reference runs vanish below
    page.addRuns({width});
    return page;
}

Page randomPage(unsigned width, unsigned rows, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::geometric_distribution<unsigned> shortRun(0.3);
    std::uniform_int_distribution<unsigned> longRun(0, width);
    std::uniform_int_distribution<int> kind(0, 9);
    Page page(width);
    std::vector<unsigned> runs;
    for (unsigned r = 0; r < rows; ++r) {
        // Every few rows a fresh line; otherwise the previous one with its
        // runs nudged, as text and drawings look to a 2D coder.
        if (r % 5 == 0 || runs.empty()) {
            runs.clear();
            for (unsigned sum = 0; sum < width;) {
                const unsigned run = kind(random) == 0 ? longRun(random) : shortRun(random) + (runs.empty() ? 0 : 1);
                runs.push_back(run);
                sum += run;
            }
        } else {
            for (unsigned& run : runs) run = std::max(1, int(run) + kind(random) % 5 - 2);
        }
        page.addRuns(runs);
    }
    return page;
}

struct Case {
    std::string name;
    Page page;
};

std::vector<Case> allPages() {
    std::vector<Case> cases;
    const unsigned widths[] = {1728, 2048, 2432, 2592, 3072, 3456, 3648, 4096, 4864, 1, 7, 9, 215, 1729, 2561};
    for (const unsigned width : widths) {
        cases.push_back({"structured" + std::to_string(width), structuredPage(width)});
        cases.push_back({"random" + std::to_string(width), randomPage(width, 40, width)});
    }
    return cases;
}

const LibtiffCoding kCodings[] = {LibtiffCoding::ModifiedHuffman,      LibtiffCoding::ModifiedHuffmanWord,
                                  LibtiffCoding::T4OneDimensional,     LibtiffCoding::T4OneDimensionalFill,
                                  LibtiffCoding::T4TwoDimensional,     LibtiffCoding::T6};

void expectSameRows(const LibtiffPage& expected, const FaxImage& image, bool inverted, const std::string& what) {
    ASSERT_EQ(image.rows, expected.rows) << what;
    ASSERT_EQ(image.bitmap.size(), expected.pixels.size()) << what;
    const std::size_t bytesPerRow = expected.bytesPerRow();
    const unsigned padBits = unsigned(bytesPerRow * 8 - expected.width);
    for (std::size_t r = 0; r < expected.rows; ++r) {
        for (std::size_t i = 0; i < bytesPerRow; ++i) {
            std::uint8_t want = expected.pixels[r * bytesPerRow + i];
            if (inverted) want = std::uint8_t(~want & (i + 1 == bytesPerRow ? 0xFF << padBits : 0xFF));
            if (image.bitmap[r * bytesPerRow + i] != want) {
                FAIL() << what << ": row " << r << " byte " << i << " is " << int(image.bitmap[r * bytesPerRow + i])
                       << ", libtiff gives " << int(want);
            }
        }
    }
}

TEST(LibtiffDifferential, EveryCodingAndFillOrderDecodesAsLibtiffDoes) {
    for (const Case& c : allPages()) {
        for (const LibtiffCoding coding : kCodings) {
            for (const int fillOrder : {1, 2}) {
                const std::string what = c.name + " scheme " + std::to_string(schemeOf(coding)) +
                                         (coding == LibtiffCoding::T4OneDimensionalFill ? " fill" : "") +
                                         " fill order " + std::to_string(fillOrder);
                const LibtiffPage coded = codeWithLibtiff(c.page.pixels(), c.page.width(), c.page.rows(), coding, fillOrder);
                ASSERT_EQ(coded.pixels, c.page.pixels()) << what << ": libtiff round trip";
                const auto width = std::int32_t(c.page.width());
                const DecodedPage black = decodeWithCodec(coded.coded, coding, fillOrder, width, 100000, 1);
                EXPECT_EQ(black.result, 0) << what;
                expectSameRows(coded, black.image, false, what + " invert 1");
                const DecodedPage white = decodeWithCodec(coded.coded, coding, fillOrder, width, 100000, 0);
                expectSameRows(coded, white.image, true, what + " invert 0");
                const DecodedPage counted = decodeWithCodec(coded.coded, coding, fillOrder, width, 100000, 0, true);
                EXPECT_EQ(counted.image.rows, coded.rows) << what << " count only";
                EXPECT_TRUE(counted.image.bitmap.empty()) << what << " count only";
                if (HasFatalFailure()) return;
            }
        }
    }
}

}  // namespace
}  // namespace quillon::test
