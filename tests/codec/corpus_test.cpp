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
        EXPECT_TRUE(page.whole()) << expected.file;
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
            EXPECT_TRUE(page.whole()) << expected.file << " scheme " << int(schemeOf(coding));
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

}  // namespace
}  // namespace quillon::test
