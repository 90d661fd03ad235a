#include "codec/bit_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "codec/decode_status.h"

namespace quillon {
namespace {

TEST(BitReader, ReadBitsCrossesIntoTheNextByte) {
    const std::vector<std::uint8_t> data = {0b10110110, 0b01000000};
    BitReader reader;
    reader.reset(data.data(), 2);
    EXPECT_EQ(reader.readBits(6).value, 0b101101);
    EXPECT_EQ(reader.readBits(4).value, 0b1001);  // last 2 bits of byte 0, first 2 of byte 1
    EXPECT_EQ(reader.position(), 1);
    EXPECT_EQ(reader.bitsUsed(), 2);
}

TEST(BitReader, FillOrderTwoReversesEveryByte) {
    const std::vector<std::uint8_t> data = {0x01, 0x0F};
    BitReader reader;
    reader.setFillOrder(2);
    EXPECT_EQ(reader.reset(data.data(), 2).value, 0x80);
    EXPECT_EQ(reader.readBits(1).value, 1);
    EXPECT_EQ(reader.readBits(8).value, 0b00000001);  // the rest of 0x80, then 0xF0's first bit
    EXPECT_EQ(reader.readBits(7).value, 0b1110000);
    EXPECT_EQ(reader.peek(), 0u);  // nothing past the data
    EXPECT_EQ(reader.windowBits(), 0);
}

TEST(BitReader, LoadStatusesAtTheEdgesOfTheData) {
    BitReader empty;
    EXPECT_EQ(empty.reset(nullptr, 10).status, LoadStatus::NoData);
    EXPECT_EQ(empty.readBits(1).status, LoadStatus::NoData);

    const std::vector<std::uint8_t> data = {0xAB};
    BitReader reader;
    reader.reset(data.data(), 1);
    EXPECT_EQ(reader.unreadBits(1).status, LoadStatus::BeforeStart);
    EXPECT_EQ(reader.readBits(5).value, 0b10101);
    EXPECT_EQ(reader.readBits(4).status, LoadStatus::PastEnd);  // only 3 bits were left
    EXPECT_EQ(reader.current().status, LoadStatus::PastEnd);
    EXPECT_EQ(reader.loadByte(true).status, LoadStatus::PastEnd);
}

TEST(BitReader, UnreadBitsStepsBackAcrossAByte) {
    const std::vector<std::uint8_t> data = {0x0F, 0xF0};
    BitReader reader;
    reader.reset(data.data(), 2);
    reader.readBits(8);
    reader.readBits(2);
    EXPECT_EQ(reader.unreadBits(4).value, 0x0F);
    EXPECT_EQ(reader.position(), 0);
    EXPECT_EQ(reader.readBits(8).value, 0b11111100);  // last 2 bits of byte 0, first 6 of byte 1
}

TEST(BitReader, AlignToByteAndWord) {
    const std::vector<std::uint8_t> data = {0, 0, 0, 0x34, 0x12};
    BitReader reader;
    reader.reset(data.data(), 5);
    reader.readBits(3);
    reader.alignToByte(true);  // byte 1 is odd: on to byte 2
    EXPECT_EQ(reader.position(), 2);
    reader.readBits(8);
    reader.alignToByte(false);  // a fully used byte moves nothing further
    EXPECT_EQ(reader.position(), 3);
    EXPECT_EQ(reader.readWord16().value, 0x1234);
    EXPECT_EQ(reader.readWord16().status, LoadStatus::PastEnd);
}

TEST(BitReader, ReadWord16TakesTheStoredBytesWhateverTheFillOrder) {
    const std::vector<std::uint8_t> data = {0x01, 0x80};
    BitReader reader;
    reader.setFillOrder(2);
    reader.reset(data.data(), 2);
    EXPECT_EQ(reader.readWord16().value, 0x8001);
}

TEST(BitReaderFindEol, FindsZeroRunsThatSpanBytes) {
    const std::vector<std::uint8_t> data = {0x80, 0x00, 0x10};  // 7 + 8 + 3 zero bits, then a one
    BitReader reader;
    reader.reset(data.data(), 3);
    EXPECT_EQ(reader.findEol(), LoadStatus::Loaded);
    EXPECT_EQ(reader.position(), 2);
    EXPECT_EQ(reader.bitsUsed(), 4);
}

TEST(BitReaderFindEol, ShortZeroRunsAreNoEol) {
    const std::vector<std::uint8_t> data = {0x10, 0x02, 0x00, 0x80};  // runs of 4 + 6 and 1 + 8 + 0 zeros
    BitReader reader;
    reader.reset(data.data(), 4);
    EXPECT_EQ(reader.findEol(), LoadStatus::PastEnd);
}

TEST(BitReaderFindEol, ZeroBitsAlreadyReadAreNoPartOfAnEol) {
    const std::vector<std::uint8_t> data = {0x00, 0x01, 0x00};
    BitReader reader;
    reader.reset(data.data(), 3);
    reader.readBits(6);  // 2 unused zeros + 7 zeros: 9, too short
    EXPECT_EQ(reader.findEol(), LoadStatus::PastEnd);
    reader.reset(data.data(), 3);
    EXPECT_EQ(reader.findEol(), LoadStatus::Loaded);  // from the start: 15 zeros
    EXPECT_EQ(reader.position(), 2);
    EXPECT_EQ(reader.bitsUsed(), 0);
}

TEST(BitReaderFindEol, OneBitAtTheEndOfAByteDoesNotSkipTheNextByte) {
    // 0x01 ends its zero run at its last bit; the next byte's zeros start a new run.
    const std::vector<std::uint8_t> data = {0xFF, 0x01, 0x00, 0x08};
    BitReader reader;
    reader.reset(data.data(), 4);
    EXPECT_EQ(reader.findEol(), LoadStatus::Loaded);  // 8 + 4 zeros after the one bit of byte 1
    EXPECT_EQ(reader.position(), 3);
    EXPECT_EQ(reader.bitsUsed(), 5);
}

}  // namespace
}  // namespace quillon
