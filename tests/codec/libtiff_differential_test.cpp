// Pages coded by libtiff in every coding and fill order decode here to the
// same rows as libtiff's own decoder gives.

#include <gtest/gtest.h>

#include <string>

#include "codec/codec_test_util.h"
#include "codec/t6_encoder.h"
#include "codec/test_pages.h"

namespace quillon::test {
namespace {

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

// Every run length from none to past the largest make-up code, white and
// black: each terminating and make-up code as libtiff writes it.
Page everyRunLength() {
    const unsigned width = 2560 + 128;
    Page page(width);
    for (unsigned run = 0; run <= 2624; ++run) {
        page.addRuns({run, width - run});
        page.addRuns({0, run, width - run});
    }
    return page;
}

struct Case {
    std::string name;
    Page page;
};

std::vector<Case> allPages() {
    std::vector<Case> cases{{"every run length", everyRunLength()}};
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
                const std::string what = c.name + " scheme " + std::to_string(int(schemeOf(coding))) +
                                         (coding == LibtiffCoding::T4OneDimensionalFill ? " fill" : "") +
                                         " fill order " + std::to_string(fillOrder);
                const LibtiffPage coded = codeWithLibtiff(c.page.pixels(), c.page.width(), c.page.rows(), coding, fillOrder);
                ASSERT_EQ(coded.pixels, c.page.pixels()) << what << ": libtiff round trip";
                const auto width = std::int32_t(c.page.width());
                const DecodedPage black = decodeWithCodec(coded.coded, coding, fillOrder, width, 100000, 1);
                EXPECT_TRUE(black.whole()) << what;
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

// Codes the lines a decoder keeps again as T.6, in strips of rowsPerStrip rows.
struct StripCoder final : LineSink {
    StripCoder(unsigned width, unsigned rowsPerStrip) : encoder(width), rowsPerStrip(rowsPerStrip) {}
    void line(const std::uint32_t* runs, std::uint32_t count) override {
        encoder.encodeRow(runs, count);
        if (++rows % rowsPerStrip == 0) endStrip();
    }
    void endStrip() {
        const auto strip = encoder.finishStrip();
        strips.emplace_back(strip.begin(), strip.end());
        encoder.startStrip();
    }
    T6Encoder encoder;
    unsigned rowsPerStrip;
    unsigned rows = 0;
    std::vector<std::vector<std::uint8_t>> strips;
};

TEST(LibtiffDifferential, LinesCodedAgainAsT6DecodeWithLibtiffToTheSamePage) {
    for (const Case& c : allPages()) {
        for (const LibtiffCoding coding : kCodings) {
            if (coding == LibtiffCoding::ModifiedHuffmanWord) continue;  // libtiff cannot decode its own coding
            const std::string what = c.name + " scheme " + std::to_string(int(schemeOf(coding)));
            const LibtiffPage coded = codeWithLibtiff(c.page.pixels(), c.page.width(), c.page.rows(), coding, 2);
            // One strip holds the page, as libtiff's own T.6 coding of it:
            // the coding is the standard's, byte for byte.
            StripCoder whole(c.page.width(), c.page.rows());
            decodeWithCodec(coded.coded, coding, 2, std::int32_t(c.page.width()), 100000, 1, true, &whole);
            ASSERT_EQ(whole.strips.size(), 1u) << what;
            const LibtiffPage t6 = codeWithLibtiff(c.page.pixels(), c.page.width(), c.page.rows(), LibtiffCoding::T6, 2);
            EXPECT_EQ(whole.strips[0], t6.coded) << what;
            // Strips of 7 rows, each starting against a white line.
            StripCoder banded(c.page.width(), 7);
            decodeWithCodec(coded.coded, coding, 2, std::int32_t(c.page.width()), 100000, 1, true, &banded);
            if (banded.rows % 7 != 0) banded.endStrip();
            EXPECT_EQ(decodeT6StripsWithLibtiff(banded.strips, c.page.width(), c.page.rows(), 7), c.page.pixels()) << what;
            if (HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace quillon::test
