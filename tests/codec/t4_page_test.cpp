// Modified Huffman and T.4 pages built code by code: line dropping, resync at
// EOLs, the row limit and the two-dimensional corners.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "codec/codec_test_util.h"
#include "codec/decode_status.h"

namespace quillon {
namespace {

using test::bitsToBytes;

// T.4 codes, written as the recommendation gives them.
const std::string kEol = "000000000001";
const std::string kWhite1728 = "010011011" "00110101";           // make-up 1728, terminating 0
const std::string kWhite1720 = "011000" "01011001";              // make-up 1664, terminating 56
const std::string kBlackFirst = "00110101" "010" "011000" "00110100";  // white 0, black 1, white 1664 + 63
const std::string kWhite5Black1723 = "1100" "0000001100100" "000000101011";  // white 5, black 1664 + 59

// The lines a page lost to damage; nothing when it was refused.
std::optional<std::uint32_t> droppedBy(FaxDecoder& decoder, FaxImage& image) {
    if (decoder.decodePage(image) != PageStatus::Decoded) return std::nullopt;
    return decoder.droppedLines();
}

struct Page {
    std::optional<std::uint32_t> dropped;
    FaxImage image;
};

Page decode(const std::string& bits, ImageCoding scheme, std::int32_t maxRows = 100, std::uint8_t invert = 1) {
    const std::vector<std::uint8_t> data = bitsToBytes(bits);
    FaxDecoder decoder;
    decoder.initDecoder(data.data(), std::int32_t(data.size()), 1, scheme, invert);
    decoder.setGeometry(1728, maxRows);
    Page page;
    page.dropped = droppedBy(decoder, page.image);
    return page;
}

bool rowIsAllWhite(const FaxImage& image, std::uint32_t row) {
    for (std::uint32_t i = 0; i < image.bytesPerRow; ++i)
        if (image.row(row)[i] != (image.invert ? 0x00 : 0xFF)) return false;
    return true;
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST(T4OneDimensionalPage, CountsTheLinesBeforeRtc) {
    const Page page = decode(kEol + kWhite1728 + kEol + kWhite1728 + kEol + kWhite1728 + repeat(kEol, 6), ImageCoding::T4OneDimensional);
    EXPECT_EQ(page.dropped, 0u);
    EXPECT_EQ(page.image.rows, 3u);
    EXPECT_EQ(page.image.bitmap.size(), 3u * 216);
    EXPECT_TRUE(rowIsAllWhite(page.image, 2));
    EXPECT_EQ(page.image.coding, ImageCoding::T4OneDimensional);
    EXPECT_EQ(page.image.xResolution, 200);
    EXPECT_EQ(page.image.paperCode, 1);
}

TEST(T4OneDimensionalPage, ShortLineIsDroppedAndItsRowReused) {
    const Page page = decode(kEol + kWhite1728 + kEol + kWhite1720 + kEol + kBlackFirst + repeat(kEol, 6), ImageCoding::T4OneDimensional, 100, 1);
    EXPECT_EQ(page.image.rows, 2u);
    EXPECT_EQ(page.dropped, 1u);  // the short line is damage
    EXPECT_EQ(page.image.row(1)[0], 0x80);  // the third line sits in the second row
    EXPECT_EQ(page.image.row(1)[1], 0x00);
}

TEST(T4OneDimensionalPage, InvalidCodeDropsItsLineAndDecodingGoesOnAfterTheNextEol) {
    const std::string badLine = "00111" "000000001" "0111" "1000";  // white 10, then an invalid code
    const Page page = decode(kEol + badLine + kEol + kWhite5Black1723 + kEol + kWhite1728 + kEol, ImageCoding::T4OneDimensional, 100, 0);
    EXPECT_EQ(page.dropped, 1u);
    ASSERT_EQ(page.image.rows, 2u);
    EXPECT_EQ(page.image.row(0)[0], 0xF8);  // starts with its 5 white pixels
    EXPECT_EQ(page.image.row(0)[1], 0x00);
    EXPECT_TRUE(rowIsAllWhite(page.image, 1));
}

TEST(T4OneDimensionalPage, OverlongLineIsDropped) {
    const std::string overlong = kWhite1720 + "0000001100100" "1100";  // 1720 white, 1664 black, ...
    const Page page = decode(kEol + overlong + kEol + kWhite1728 + kEol, ImageCoding::T4OneDimensional);
    EXPECT_EQ(page.dropped, 1u);
    EXPECT_EQ(page.image.rows, 1u);
}

TEST(T4OneDimensionalPage, StoresNoMoreRowsThanMaxRows) {
    const Page page = decode(repeat(kEol + kWhite1728, 5) + kEol, ImageCoding::T4OneDimensional, 3);
    EXPECT_EQ(page.dropped, 0u);
    EXPECT_EQ(page.image.rows, 3u);
    EXPECT_EQ(page.image.bitmap.size(), 3u * 216);
}

TEST(T4OneDimensionalPage, LastLineWithoutEolCountsWhenComplete) {
    EXPECT_EQ(decode(kEol + kWhite1728 + kEol + kWhite1728, ImageCoding::T4OneDimensional).image.rows, 2u);
    EXPECT_EQ(decode(kEol + kWhite1728 + kEol + kWhite1720, ImageCoding::T4OneDimensional).image.rows, 1u);
}

TEST(ModifiedHuffmanPage, CountsALineThatEndsExactlyAtTheEndOfData) {
    // Lines start on byte boundaries; the last one ends in the data's last byte.
    const std::vector<std::uint8_t> line = bitsToBytes(kWhite1728);
    std::vector<std::uint8_t> data = line;
    data.insert(data.end(), line.begin(), line.end());
    FaxDecoder decoder;
    decoder.initDecoder(data.data(), std::int32_t(data.size()), 1, ImageCoding::ModifiedHuffman, 0);
    decoder.setGeometry(1728, 10);
    FaxImage image;
    EXPECT_EQ(droppedBy(decoder, image), 0u);
    EXPECT_EQ(image.rows, 2u);
    EXPECT_EQ(image.coding, ImageCoding::ModifiedHuffman);

    decoder.initDecoder(data.data(), std::int32_t(data.size()) - 1, 1, ImageCoding::ModifiedHuffman, 0);  // last line cut short
    decoder.setGeometry(1728, 10);
    EXPECT_EQ(droppedBy(decoder, image), 0u);
    EXPECT_EQ(image.rows, 1u);
}

TEST(ModifiedHuffmanPage, StopsAtAnInvalidCodeKeepingTheLinesBefore) {
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 4; ++i) {
        const auto line = bitsToBytes(kWhite1728);
        data.insert(data.end(), line.begin(), line.end());
    }
    for (const std::uint8_t b : bitsToBytes("00000000" "1" + kWhite1728)) data.push_back(b);
    for (const std::uint8_t b : bitsToBytes(kWhite1728)) data.push_back(b);
    FaxDecoder decoder;
    decoder.initDecoder(data.data(), std::int32_t(data.size()), 1, ImageCoding::ModifiedHuffman, 0);
    decoder.setGeometry(1728, 10);
    FaxImage image;
    EXPECT_EQ(droppedBy(decoder, image), 1u);
    EXPECT_EQ(image.rows, 4u);
}

TEST(ModifiedHuffmanPage, OverlongLineStopsThePageAsDamage) {
    std::vector<std::uint8_t> data = bitsToBytes(kWhite1728);
    for (const std::uint8_t b : bitsToBytes(kWhite1720 + "0000001100100" "0000110111")) data.push_back(b);
    FaxDecoder decoder;
    decoder.initDecoder(data.data(), std::int32_t(data.size()), 1, ImageCoding::ModifiedHuffman, 0);
    decoder.setGeometry(1728, 10);
    FaxImage image;
    EXPECT_EQ(droppedBy(decoder, image), 1u);
    EXPECT_EQ(image.rows, 1u);
}

TEST(T4TwoDimensionalPage, StartsAtTheFirstEolWithTagBitOne) {
    const std::string v0Line = "1";  // all white against an all-white reference
    const std::string bits = kEol + "0" + kWhite5Black1723 + kEol + "0" + v0Line + kEol + "1" + kWhite1728 + kEol +
                             "0" + v0Line + kEol + "0" + v0Line + repeat(kEol + "1", 6);
    const Page page = decode(bits, ImageCoding::T4TwoDimensional, 100, 0);
    EXPECT_EQ(page.dropped, 0u);
    EXPECT_EQ(page.image.rows, 3u);
    for (std::uint32_t r = 0; r < 3; ++r) EXPECT_TRUE(rowIsAllWhite(page.image, r)) << r;
    EXPECT_EQ(page.image.coding, ImageCoding::T4TwoDimensional);
}

TEST(T4TwoDimensionalPage, WithoutAnEolAndTagOneThePageIsRefused) {
    EXPECT_EQ(decode(kEol + "0" + "1" + kEol + "0", ImageCoding::T4TwoDimensional).dropped, std::nullopt);
}

TEST(T4TwoDimensionalPage, LineAfterAShortOneDimensionalLineIsKept) {
    // A short line at its EOL is dropped; the next line, one-dimensional, decodes.
    const std::string bits = kEol + "1" + kWhite1720 + kEol + "1" + kWhite5Black1723 + kEol + "0" + "11" + kEol + "1";
    const Page page = decode(bits, ImageCoding::T4TwoDimensional, 100, 0);
    EXPECT_EQ(page.dropped, 1u);
    ASSERT_EQ(page.image.rows, 2u);
    EXPECT_EQ(page.image.row(0)[0], 0xF8);
    EXPECT_EQ(page.image.row(1)[0], 0xF8);  // V0 V0 against the line above
    EXPECT_EQ(page.image.row(1)[1], 0x00);
}

TEST(T4TwoDimensionalPage, PassModeAndV0WriteOneRun) {
    // Reference: white 10, black 10, white 1664 + 44. Pass over the black
    // run, then V0 at the line's end: one white run of 1728.
    const std::string reference = "00111" "0000100" "011000" "00101101";
    const Page page = decode(kEol + "1" + reference + kEol + "0" + "0001" "1" + kEol + "1", ImageCoding::T4TwoDimensional, 100, 0);
    EXPECT_EQ(page.dropped, 0u);
    ASSERT_EQ(page.image.rows, 2u);
    EXPECT_EQ(page.image.row(0)[1], 0xC0);  // pixels 8 and 9 white, then black
    EXPECT_TRUE(rowIsAllWhite(page.image, 1));
}

TEST(T4TwoDimensionalPage, VerticalLeftOfTheLineStartIsInvalid) {
    // Reference: white 1, black 1664 + 63; VL3 from b1 = 1 lies left of the line.
    const std::string reference = "000111" "0000001100100" "000001100111";
    const Page page = decode(kEol + "1" + reference + kEol + "0" + "0000010" + kEol + "1", ImageCoding::T4TwoDimensional, 100, 0);
    EXPECT_EQ(page.dropped, 1u);
    EXPECT_EQ(page.image.rows, 1u);
}

TEST(PageDecoders, RefuseUnknownSchemesAndUnusableGeometry) {
    EXPECT_EQ(decode(kEol + kWhite1728, ImageCoding::T6).dropped, std::nullopt);
    EXPECT_EQ(decode(kEol + kWhite1728, ImageCoding::PackBits).dropped, std::nullopt);
    const std::vector<std::uint8_t> data = bitsToBytes(kEol + kWhite1728);
    FaxDecoder decoder;
    FaxImage image;
    for (const auto& [width, rows] : {std::pair{0, 10}, {-5, 10}, {1728, -1}, {70000, 10}}) {
        decoder.initDecoder(data.data(), std::int32_t(data.size()), 1, ImageCoding::T4OneDimensional, 0);
        decoder.setGeometry(width, rows);
        EXPECT_EQ(decoder.decodePage(image), PageStatus::Refused) << width << " x " << rows;
    }
}

}  // namespace
}  // namespace quillon
