// Damaged data: cut short, bits flipped, garbage. The decoders keep to the
// data, the row and the run lists, drop what is damaged and keep the rest.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "codec/codec_test_util.h"
#include "codec/test_pages.h"

namespace quillon::test {
namespace {

const LibtiffCoding kCodings[] = {LibtiffCoding::ModifiedHuffman,      LibtiffCoding::ModifiedHuffmanWord,
                                  LibtiffCoding::T4OneDimensional,     LibtiffCoding::T4OneDimensionalFill,
                                  LibtiffCoding::T4TwoDimensional,     LibtiffCoding::T6};

constexpr std::int32_t kWidth = 1728;
constexpr std::int32_t kMaxRows = 64;

// The record always describes the bitmap it holds.
void expectConsistent(const DecodedPage& page, const std::string& what, bool countOnly = false) {
    EXPECT_LE(page.image.rows, std::uint32_t(kMaxRows)) << what;
    const std::size_t held = countOnly ? 0 : std::size_t(page.image.rows) * 216;
    if (page.decoded()) {
        EXPECT_EQ(page.image.bitmap.size(), held) << what;
    }
}

TEST(DamagedData, DataCutShortAtEveryByteKeepTheLinesBeforeTheCut) {
    const Page source = randomPage(kWidth, 10, 7);
    for (const LibtiffCoding coding : kCodings) {
        const LibtiffPage coded = codeWithLibtiff(source.pixels(), kWidth, source.rows(), coding, 2);
        const DecodedPage whole = decodeWithCodec(coded.coded, coding, 2, kWidth, kMaxRows);
        ASSERT_EQ(whole.image.rows, source.rows());
        for (std::size_t cut = 0; cut < coded.coded.size(); ++cut) {
            // An exactly sized copy, so that a read past the end is caught by the sanitizers.
            const std::vector<std::uint8_t> shortData(coded.coded.begin(), coded.coded.begin() + std::ptrdiff_t(cut));
            const DecodedPage page = decodeWithCodec(shortData, coding, 2, kWidth, kMaxRows);
            const std::string what = "scheme " + std::to_string(int(schemeOf(coding))) + " cut at " + std::to_string(cut);
            expectConsistent(page, what);
            ASSERT_LE(page.image.rows, whole.image.rows) << what;
            ASSERT_TRUE(std::equal(page.image.bitmap.begin(), page.image.bitmap.end(), whole.image.bitmap.begin()))
                << what;
        }
    }
}

TEST(DamagedData, FlippedBitsCostOneDimensionalPagesOnlyTheLinesAround) {
    const Page source = randomPage(kWidth, 10, 11);
    for (const LibtiffCoding coding : {LibtiffCoding::T4OneDimensional, LibtiffCoding::T4TwoDimensional}) {
        const LibtiffPage coded = codeWithLibtiff(source.pixels(), kWidth, source.rows(), coding, 1);
        for (std::size_t bit = 0; bit < coded.coded.size() * 8; ++bit) {
            std::vector<std::uint8_t> data = coded.coded;
            data[bit / 8] ^= std::uint8_t(0x80 >> (bit % 8));
            const DecodedPage page = decodeWithCodec(data, coding, 1, kWidth, kMaxRows);
            const std::string what = "scheme " + std::to_string(int(schemeOf(coding))) + " bit " + std::to_string(bit);
            expectConsistent(page, what);
            // A flip can merge two lines at a broken EOL, split one at a new
            // EOL, or (two-dimensional) spoil the lines coded against it up to
            // the next one-dimensional line.
            ASSERT_GE(page.image.rows + 4, source.rows()) << what;
            ASSERT_LE(page.image.rows, source.rows() + 1) << what;
        }
    }
}

TEST(DamagedData, FlippedBitsInT6DataStayInBounds) {
    const Page source = randomPage(kWidth, 10, 13);
    const LibtiffPage coded = codeWithLibtiff(source.pixels(), kWidth, source.rows(), LibtiffCoding::T6, 1);
    for (std::size_t bit = 0; bit < coded.coded.size() * 8; ++bit) {
        std::vector<std::uint8_t> data = coded.coded;
        data[bit / 8] ^= std::uint8_t(0x80 >> (bit % 8));
        for (const bool countOnly : {false, true}) {
            const DecodedPage page = decodeWithCodec(data, LibtiffCoding::T6, 1, kWidth, kMaxRows, 1, countOnly);
            expectConsistent(page, "bit " + std::to_string(bit), countOnly);
        }
    }
}

TEST(DamagedData, GarbageNeverLeavesTheData) {
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<std::int32_t> width(1, 5000);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> data(std::size_t(byte(random)) * 4);
        // Garbage biased towards zero bits reaches EOLs and long codes.
        for (auto& b : data) b = std::uint8_t(byte(random) & byte(random) & byte(random));
        for (const LibtiffCoding coding : kCodings) {
            const DecodedPage page =
                decodeWithCodec(data, coding, 1 + round % 2, width(random), kMaxRows, std::uint8_t(round % 2), round % 3 == 0);
            EXPECT_LE(page.image.rows, std::uint32_t(kMaxRows));
            if (page.decoded() && round % 3 != 0) {
                EXPECT_EQ(page.image.bitmap.size(), std::size_t(page.image.rows) * page.image.bytesPerRow);
            }
        }
    }
}

}  // namespace
}  // namespace quillon::test
