// The real fax pages of the shared corpus decode to their known pixel hashes
// and row counts, as stored and re-coded by libtiff in the other codings.

#include <gtest/gtest.h>

#include "codec/codec_test_util.h"
#include "support/corpus.h"
#include "support/pixel_hash.h"

namespace quillon::test {
namespace {

LibtiffCoding storedCoding(const std::string& file) {
    if (file == "G32D.TIF") return LibtiffCoding::T4TwoDimensional;
    if (file == "G31D.TIF" || file == "g3test.tif") return LibtiffCoding::T4OneDimensional;
    if (file == "fax2d.tif") return LibtiffCoding::T4OneDimensionalFill;
    return LibtiffCoding::T6;
}

std::uint64_t hashOf(const FaxImage& image) { return fnv1a64(image.bitmap.data(), image.bitmap.size()); }

TEST(CorpusPages, DecodeAsStoredToTheirPixelHashes) {
    QUILLON_REQUIRE_CORPUS();
    for (const CorpusPage& expected : corpusPages()) {
        const LibtiffPage stored = readLibtiffStrip((corpusDir() / expected.file).string());
        // Room for more rows than the page has: trailing RTC or EOFB must not add any.
        const DecodedPage page =
            decodeWithCodec(stored.coded, storedCoding(expected.file), 2, std::int32_t(expected.width), 5000);
        EXPECT_EQ(page.result, 0) << expected.file;
        EXPECT_EQ(page.image.rows, expected.rows) << expected.file;
        EXPECT_EQ(hashOf(page.image), expected.hash) << expected.file;
        EXPECT_EQ(expected.hash, expected.listedHash) << expected.file << ": libtiff and the corpus notes disagree";
        EXPECT_EQ(page.image.width, expected.width);
        EXPECT_EQ(page.image.fillOrder, 2);
    }
}

TEST(CorpusPages, DecodeToTheSameHashesWhenLibtiffRecodesThem) {
    QUILLON_REQUIRE_CORPUS();
    for (const CorpusPage& expected : corpusPages()) {
        if (expected.file == "G31D.TIF" || expected.file == "G32D.TIF") continue;  // G4.TIF holds the same picture
        const LibtiffPage stored = readLibtiffStrip((corpusDir() / expected.file).string());
        for (const LibtiffCoding coding : {LibtiffCoding::ModifiedHuffman, LibtiffCoding::T4OneDimensional,
                                           LibtiffCoding::T4TwoDimensional, LibtiffCoding::T6}) {
            if (coding == storedCoding(expected.file)) continue;
            const LibtiffPage recoded = codeWithLibtiff(stored.pixels, stored.width, stored.rows, coding, 1);
            const DecodedPage page = decodeWithCodec(recoded.coded, coding, 1, std::int32_t(expected.width), 5000);
            EXPECT_EQ(page.result, 0) << expected.file << " scheme " << int(schemeOf(coding));
            EXPECT_EQ(page.image.rows, expected.rows) << expected.file << " scheme " << int(schemeOf(coding));
            EXPECT_EQ(hashOf(page.image), expected.hash) << expected.file << " scheme " << int(schemeOf(coding));
        }
    }
}

TEST(CorpusPages, CountOnlyGivesTheRowCountWithoutARaster) {
    QUILLON_REQUIRE_CORPUS();
    for (const CorpusPage& expected : corpusPages()) {
        const LibtiffPage stored = readLibtiffStrip((corpusDir() / expected.file).string());
        const DecodedPage page =
            decodeWithCodec(stored.coded, storedCoding(expected.file), 2, std::int32_t(expected.width), 65535, 0, true);
        EXPECT_EQ(page.image.rows, expected.rows) << expected.file;
        EXPECT_EQ(page.image.bitmap.capacity(), 0u) << expected.file;
    }
}

// Blank lines at the top of a T.6 page are one V0 bit each, so its data
// begin with 0xFF bytes that look like the flag bytes before a new start.
TEST(CorpusPages, T6PageWithBlankTopLinesDecodesFromItsFirstByteWithRawStart) {
    QUILLON_REQUIRE_CORPUS();
    const LibtiffPage itu = readLibtiffStrip((corpusDir() / "CCITT_2.TIF").string());
    const std::size_t blankBytes = 40 * itu.bytesPerRow();
    std::vector<std::uint8_t> pixels(blankBytes, 0);
    pixels.insert(pixels.end(), itu.pixels.begin(), itu.pixels.end());
    const unsigned rows = itu.rows + 40;
    const LibtiffPage coded = codeWithLibtiff(pixels, itu.width, rows, LibtiffCoding::T6, 2);
    ASSERT_GE(coded.coded.size(), 5u);
    ASSERT_EQ(coded.coded[0], 0xFF);
    ASSERT_EQ(coded.coded[4], 0xFF);

    FaxDecoder decoder;
    decoder.initDecoderT6(coded.coded.data(), std::int32_t(coded.coded.size()), 2, 0, 1, 3);
    decoder.setRawStart(true);
    decoder.setGeometry(std::int32_t(itu.width), 5000);
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), 0);
    FaxImage image;
    ASSERT_EQ(decoder.decodePageT6(image), 0);
    EXPECT_EQ(image.rows, rows);
    EXPECT_EQ(image.bitmap, coded.pixels);

    // Without raw start the blank lines are taken for flag bytes and lost.
    decoder.initDecoderT6(coded.coded.data(), std::int32_t(coded.coded.size()), 2, 0, 1, 3);
    decoder.setRawStart(false);
    decoder.setGeometry(std::int32_t(itu.width), 5000);
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), 0);
    ASSERT_EQ(decoder.decodePageT6(image), 0);
    EXPECT_LT(image.rows, rows);
}

}  // namespace
}  // namespace quillon::test
