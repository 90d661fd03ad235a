// T.6 pages and the search for a start of T.6 data behind flag bytes.

#include <gtest/gtest.h>

#include <string>

#include "codec/codec_test_util.h"
#include "codec/decode_status.h"
#include "support/printed_page.h"

namespace quillon {
namespace {

using test::bitsToBytes;

const std::string kEol = "000000000001";
const std::string kEofb = kEol + kEol;

std::vector<std::uint8_t> concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct Start {
    LoadStatus result;
    std::int32_t position;
    int bitsUsed;
    std::int32_t mark;
};

Start findStart(const std::vector<std::uint8_t>& data, std::uint8_t flagCount, bool rawStart = false) {
    FaxDecoder decoder;
    decoder.initDecoderT6(data.data(), std::int32_t(data.size()), 1, 0, 0, flagCount);
    decoder.setRawStart(rawStart);
    const LoadStatus result = decoder.findT6Start(T6Search::FromFirstByte);
    return {result, decoder.reader().position(), decoder.reader().bitsUsed(), decoder.mark()};
}

TEST(FindT6Start, StartsAfterTheFlagBytes) {
    const Start start = findStart({0xFF, 0xFF, 0xFF, 0x20}, 3);
    EXPECT_EQ(start.result, LoadStatus::Loaded);
    EXPECT_EQ(start.position, 3);
    EXPECT_EQ(start.bitsUsed, 0);
    EXPECT_EQ(start.mark, 0);
}

TEST(FindT6Start, SkipsTheOneBitsAfterTheFlagBytes) {
    const Start start = findStart({0xFF, 0xFF, 0xFF, 0xF2}, 3);
    EXPECT_EQ(start.result, LoadStatus::Loaded);
    EXPECT_EQ(start.position, 3);
    EXPECT_EQ(start.bitsUsed, 4);
}

TEST(FindT6Start, RawStartBeginsAtTheFirstByte) {
    const Start start = findStart({0xFF, 0xFF, 0xFF, 0x20}, 3, true);
    EXPECT_EQ(start.result, LoadStatus::Loaded);
    EXPECT_EQ(start.position, 0);
    EXPECT_EQ(start.bitsUsed, 0);
}

TEST(FindT6Start, RefusesDataThatBeginWithVerticalCodes) {
    // 011 (VR1) and 010 (VL1) cannot start a page: the search goes on.
    const Start start = findStart({0xFF, 0xFF, 0xFF, 0x60, 0xFF, 0xFF, 0xFF, 0x40, 0xFF, 0xFF, 0xFF, 0x20}, 3);
    EXPECT_EQ(start.result, LoadStatus::Loaded);
    EXPECT_EQ(start.position, 11);
    EXPECT_EQ(start.mark, 8);
}

TEST(FindT6Start, TooFewFlagBytesAreNoStart) {
    const Start start = findStart({0xFF, 0xFF, 0x20, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x10}, 3);
    EXPECT_EQ(start.result, LoadStatus::Loaded);
    EXPECT_EQ(start.position, 8);
    EXPECT_EQ(start.mark, 4);
    EXPECT_EQ(findStart({0xFF, 0xFF, 0x20, 0x00}, 3).result, LoadStatus::PastEnd);
    EXPECT_EQ(findStart({0xFF, 0xFF, 0xFF}, 3).result, LoadStatus::PastEnd);
}

TEST(FindT6Start, ResumeSearchesBehindThePreviousStart) {
    const std::vector<std::uint8_t> data = {0xFF, 0xFF, 0xFF, 0x20, 0x00, 0xFF, 0xFF, 0xFF, 0x3F};
    FaxDecoder decoder;
    decoder.initDecoderT6(data.data(), std::int32_t(data.size()), 1, 0, 0, 3);
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded);
    EXPECT_EQ(decoder.reader().position(), 3);
    ASSERT_EQ(decoder.findT6Start(T6Search::FromResume), LoadStatus::Loaded);
    EXPECT_EQ(decoder.reader().position(), 8);
    EXPECT_EQ(decoder.mark(), 5);
    EXPECT_EQ(decoder.findT6Start(T6Search::AfterCurrent), LoadStatus::PastEnd);
}

FaxImage decodeT6(const std::vector<std::uint8_t>& data, PageStatus& result, std::uint8_t flagCount = 3,
                  bool rawStart = true, std::int32_t width = 1728) {
    FaxDecoder decoder;
    decoder.initDecoderT6(data.data(), std::int32_t(data.size()), 1, 0, 0, flagCount);
    decoder.setRawStart(rawStart);
    decoder.setGeometry(width, 1000);
    FaxImage image;
    EXPECT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded);
    result = decoder.decodePageT6(image);
    return image;
}

TEST(T6Page, AllWhiteLinesAreOneV0Each) {
    PageStatus result = PageStatus::Refused;
    const FaxImage image = decodeT6(bitsToBytes(std::string(21, '1') + kEofb), result);
    EXPECT_EQ(result, PageStatus::Decoded);
    ASSERT_EQ(image.rows, 21u);
    EXPECT_EQ(image.bitmap, std::vector<std::uint8_t>(21 * 216, 0xFF));
    EXPECT_EQ(image.coding, ImageCoding::T6);
}

TEST(T6Page, FlaggedDataResumeBehindFlagBytesAfterAnInvalidCode) {
    // Flags, a line in horizontal mode (white 1728, black 0), a bad code
    // (eight zero bits and a one), flag bytes and four more lines, the first
    // horizontal again: one bits right after the flags would be skipped as
    // part of them.
    const std::vector<std::uint8_t> flags = {0xFF, 0xFF, 0xFF};
    const std::string horizontalLine = "001" "010011011" "00110101" "0000110111";
    const std::string badCode = "000000001";
    PageStatus result = PageStatus::Refused;
    const FaxImage image =
        decodeT6(concat({flags, bitsToBytes(horizontalLine + badCode), flags,
                         bitsToBytes(horizontalLine + "111" + kEofb)}),
                 result, 3, false);
    EXPECT_EQ(result, PageStatus::Decoded);
    EXPECT_EQ(image.rows, 5u);
    // Without a further run of flag bytes the page ends at the bad code.
    const FaxImage ended =
        decodeT6(concat({flags, bitsToBytes(horizontalLine + badCode + "1111" + kEofb)}), result, 3, false);
    EXPECT_EQ(result, PageStatus::NoRestart);
    EXPECT_EQ(ended.rows, 1u);
}

TEST(T6Page, RawDataGoOnRightBehindABadCode) {
    // Raw data hold no flag bytes: a bad code costs its line, and the lines
    // behind it still count, also when the very first code is bad. Counting
    // only, since a 20-line page must not depend on an 0xFF byte turning up.
    // An EOL outside the EOFB marks lost lines as well.
    struct Case {
        const char* name;
        std::string bits;
        std::uint32_t rows;
    } cases[] = {
        {"bad code first", "000000001" + std::string(20, '1') + kEofb, 20},
        {"bad code between lines", "111" "000000001" + std::string(20, '1') + kEofb, 23},
        {"lone EOL between lines", "111" + kEol + std::string(5, '1') + kEofb, 8},
        {"EOL inside a line", "001" "10011" + kEol + std::string(5, '1') + kEofb, 5},
    };
    for (const Case& c : cases) {
        PageStatus result = PageStatus::Refused;
        FaxDecoder decoder;
        const std::vector<std::uint8_t> data = bitsToBytes(c.bits);
        decoder.initDecoderT6(data.data(), std::int32_t(data.size()), 1, 0, 0, 3);
        decoder.setRawStart(true);
        decoder.setGeometry(1728, 1000);
        FaxImage image;
        ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded) << c.name;
        result = decoder.decodePageT6(image);
        EXPECT_EQ(result, PageStatus::Decoded) << c.name;
        EXPECT_EQ(image.rows, c.rows) << c.name;
        EXPECT_EQ(decoder.droppedLines(), 1u) << c.name;
    }
}

TEST(T6Page, DataEndingBeforeAnyLineIsNoPage) {
    PageStatus result = PageStatus::Refused;
    decodeT6(bitsToBytes("001"), result);  // horizontal mode, then nothing
    EXPECT_EQ(result, PageStatus::NoLine);
}

TEST(T6Page, EolResetsTheReferenceToWhite) {
    // A horizontal line, white 8 (10011) and black 1720 (0000001100100 +
    // 000001011000), an EOL, then V0: against the line above V0 would turn
    // black at pixel 8, against a white reference it ends the line at once.
    PageStatus result = PageStatus::Refused;
    const FaxImage image =
        decodeT6(bitsToBytes("001" "10011" "0000001100100" "000001011000" + kEol + "1" + kEofb), result, 3, true);
    EXPECT_EQ(result, PageStatus::Decoded);
    ASSERT_EQ(image.rows, 2u);
    EXPECT_EQ(image.row(0)[0], 0xFF);
    EXPECT_EQ(image.row(0)[1], 0x00);
    EXPECT_EQ(image.row(1)[1], 0xFF);  // all white, not a copy of line 1
}

TEST(T6Page, ZeroLengthRunsInsideALineKeepItsLaterRuns) {
    // A page one pixel wide: a pass to the line's end (a white line), then
    // VL1 four times back to pixel 0 (runs of length 0, white, black, white,
    // black) and V0 to the end: a white pixel. The empty runs must not fill
    // the run list (room for width + 2 runs) and push the last run out.
    PageStatus result = PageStatus::Refused;
    const FaxImage image = decodeT6(bitsToBytes("0001" "010" "010" "010" "010" "1" + kEofb), result, 0, true, 1);
    EXPECT_EQ(result, PageStatus::Decoded);
    ASSERT_EQ(image.rows, 2u);
    EXPECT_EQ(image.row(0)[0], 0x80);  // white (invert 0)
    EXPECT_EQ(image.row(1)[0], 0x80);
}

TEST(T6Page, RefusesOptionsBitZeroAndLeavesTheRecordAlone) {
    const std::vector<std::uint8_t> data = bitsToBytes("111");
    FaxDecoder decoder;
    decoder.initDecoderT6(data.data(), 1, 1, 1, 0, 3);
    decoder.setRawStart(true);
    decoder.setGeometry(1728, 10);
    FaxImage image;
    image.width = 77;
    image.rows = 5;
    image.bitmap.assign(3, 0xAB);
    EXPECT_EQ(decoder.decodePageT6(image), PageStatus::Refused);
    EXPECT_EQ(image.width, 77u);
    EXPECT_EQ(image.rows, 5u);
    EXPECT_EQ(image.bitmap, std::vector<std::uint8_t>(3, 0xAB));
}

// Blank lines at the top of a T.6 page are one V0 bit each, so its data
// begin with 0xFF bytes that look like the flag bytes before a new start.
TEST(T6Page, BlankTopLinesDecodeFromTheFirstByteWithRawStart) {
    const test::Bitmap& memo = test::printedPage(test::Sheet::Memo, 200).bitmap;
    const std::size_t blankBytes = 40 * memo.bytesPerRow();
    std::vector<std::uint8_t> pixels(blankBytes, 0);
    pixels.insert(pixels.end(), memo.bits.begin(), memo.bits.end());
    const unsigned rows = memo.rows + 40;
    const test::LibtiffPage coded = test::codeWithLibtiff(pixels, memo.width, rows, test::LibtiffCoding::T6, 2);
    ASSERT_GE(coded.coded.size(), 5u);
    ASSERT_EQ(coded.coded[0], 0xFF);
    ASSERT_EQ(coded.coded[4], 0xFF);

    FaxDecoder decoder;
    decoder.initDecoderT6(coded.coded.data(), std::int32_t(coded.coded.size()), 2, 0, 1, 3);
    decoder.setRawStart(true);
    decoder.setGeometry(std::int32_t(memo.width), 5000);
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded);
    FaxImage image;
    ASSERT_EQ(decoder.decodePageT6(image), PageStatus::Decoded);
    EXPECT_EQ(image.rows, rows);
    EXPECT_EQ(image.bitmap, coded.pixels);

    // Without raw start the blank lines are taken for flag bytes and lost.
    decoder.initDecoderT6(coded.coded.data(), std::int32_t(coded.coded.size()), 2, 0, 1, 3);
    decoder.setRawStart(false);
    decoder.setGeometry(std::int32_t(memo.width), 5000);
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded);
    ASSERT_EQ(decoder.decodePageT6(image), PageStatus::Decoded);
    EXPECT_LT(image.rows, rows);
}

TEST(PageMemory, CountOnlyHoldsNoRasterForAHugeHeader) {
    const std::vector<std::uint8_t> data = bitsToBytes(std::string(40, '1') + kEofb);
    FaxDecoder decoder;
    decoder.initDecoderT6(data.data(), std::int32_t(data.size()), 1, 0, 0, 3);
    decoder.setRawStart(true);
    decoder.setGeometry(65535, 65535);
    decoder.setCountOnly(true);
    FaxImage image;
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded);
    EXPECT_EQ(decoder.decodePageT6(image), PageStatus::Decoded);
    EXPECT_EQ(image.rows, 40u);
    EXPECT_EQ(image.bitmap.capacity(), 0u);
}

TEST(PageMemory, RasterIsBoundedByWhatTheDataCanFill) {
    const std::vector<std::uint8_t> data = bitsToBytes(std::string(16, '1'));
    FaxDecoder decoder;
    decoder.initDecoderT6(data.data(), std::int32_t(data.size()), 1, 0, 0, 3);
    decoder.setRawStart(true);
    decoder.setGeometry(65535, 65535);
    FaxImage image;
    ASSERT_EQ(decoder.findT6Start(T6Search::FromFirstByte), LoadStatus::Loaded);
    EXPECT_EQ(decoder.decodePageT6(image), PageStatus::Decoded);
    EXPECT_EQ(image.rows, 16u);
    EXPECT_EQ(image.bitmap.size(), 16u * 8192);
    EXPECT_LE(image.bitmap.capacity(), 17u * 8192);  // 2 bytes of data: at most 17 lines
}

}  // namespace
}  // namespace quillon
