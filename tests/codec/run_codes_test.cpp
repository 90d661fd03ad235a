// EOL, fill and cut codes as decodeRun sees them, and the width classes.

#include <gtest/gtest.h>

#include <string>

#include "codec/codec_test_util.h"
#include "codec/decode_status.h"
#include "codec/width_class.h"

namespace quillon {
namespace {

using test::bitsToBytes;

struct RunDecode {
    LineResult<int> result;
    std::int64_t bitPosition;
};

RunDecode decodeOneRun(const std::string& bits, int colour) {
    const std::vector<std::uint8_t> data = bitsToBytes(bits);
    FaxDecoder decoder;
    decoder.initDecoder(data.data(), std::int32_t(data.size()), 1, ImageCoding::T4OneDimensional, 0);
    const LineResult<int> result = decoder.decodeRun(colour);
    return {result, decoder.reader().bitPosition()};
}

TEST(RunCodes, ElevenOrMoreZerosAndAOneAreAnEol) {
    for (const int colour : {0, 1}) {
        const RunDecode thirteen = decodeOneRun(std::string(13, '0') + "1" + "0111", colour);
        EXPECT_EQ(thirteen.result, LineStatus::UnexpectedEol);
        EXPECT_EQ(thirteen.bitPosition, 14);
        for (const char further : {'0', '1'}) {  // the bit after the EOL stays unread
            const RunDecode twelve = decodeOneRun(std::string(12, '0') + "1" + further + "111", colour);
            EXPECT_EQ(twelve.result, LineStatus::UnexpectedEol);
            EXPECT_EQ(twelve.bitPosition, 13);
        }
        const RunDecode fill = decodeOneRun(std::string(75, '0') + "1", colour);
        EXPECT_EQ(fill.result, LineStatus::UnexpectedEol);
        EXPECT_EQ(fill.bitPosition, 76);
    }
}

TEST(RunCodes, EightToTenZerosAndAOneAreInvalid) {
    for (const int zeros : {8, 9, 10})
        for (const int colour : {0, 1})
            EXPECT_EQ(decodeOneRun(std::string(zeros, '0') + "1111111", colour).result, LineStatus::InvalidCode) << zeros;
}

TEST(RunCodes, CodesCutOffByTheEndOfDataEndTheData) {
    EXPECT_EQ(decodeOneRun("", 0).result, LineStatus::DataEnded);
    EXPECT_EQ(decodeOneRun(std::string(16, '0'), 0).result, LineStatus::DataEnded);  // zeros up to the end
    // The first 5 bits of the 9-bit white make-up 704, at the end of the data.
    const std::vector<std::uint8_t> data = bitsToBytes("0110011");
    FaxDecoder decoder;
    decoder.initDecoder(data.data(), 1, 1, ImageCoding::T4OneDimensional, 0);
    decoder.reader().readBits(3);
    EXPECT_EQ(decoder.decodeRun(0), LineStatus::DataEnded);
}

TEST(ClassifyWidth, StandardLineLengthsGiveTheirPaperAndResolution) {
    struct Expected {
        std::int64_t width;
        int paper;
        int xResolution;
    };
    const Expected cases[] = {{1728, 1, 200}, {2048, 2, 200}, {2432, 3, 200}, {2592, 1, 300}, {3072, 2, 300},
                              {3456, 1, 400}, {3648, 3, 300}, {4096, 2, 400}, {4864, 3, 400}, {1, 1, 200},
                              {1729, 2, 200}, {3500, 3, 300}, {5000, 3, 400}};
    for (const Expected& e : cases) {
        const WidthClass c = classifyWidth(e.width);
        EXPECT_EQ(c.paperCode, e.paper) << e.width;
        EXPECT_EQ(c.xResolution, e.xResolution) << e.width;
    }
}

}  // namespace
}  // namespace quillon
