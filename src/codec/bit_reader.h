#pragma once
// Bit input over CCITT-coded bytes, most significant bit first after fill
// order correction. The reader never touches memory outside [data, data+length).

#include <cstdint>
#include <cstring>

namespace quillon {

class BitReader {
public:
    // fillOrder 1: bytes used as stored; any other value: every byte bit-reversed.
    void setFillOrder(std::uint8_t fillOrder) { fillOrder_ = fillOrder; }
    std::uint8_t fillOrder() const { return fillOrder_; }

    // Binds to data (not owned) at bit 0; returns the first byte or its load status.
    int reset(const std::uint8_t* data, std::int32_t length);

    // The byte at the position (after an advance to the next byte when asked),
    // bit-order corrected, or its load status.
    int loadByte(bool advance);
    // Next n bits (1..24), first bit highest, or the load status when they run
    // past the data (the reader then stands at the end).
    int readBits(int n);
    // Steps back n bits (1..24); kLoadBeforeStart when that would pass the start.
    int unreadBits(int n);
    // Moves to the next byte when bits of the current one are used; with
    // word set, then on to an even byte position. Returns the new current byte.
    int alignToByte(bool word);
    // The two stored bytes at the (aligned) position as a little-endian value,
    // without bit-order correction; advances by 2.
    int readWord16();
    // Searches forward for eleven or more zero bits followed by a one bit; 0
    // with the reader just after that one bit, or the load status at the end.
    int findEol();

    // The next 64 bits from the current bit, first bit highest; bits past the
    // data are 0. At least 57 are real when bitsLeft() allows.
    std::uint64_t peek64() const {
        const std::int64_t byte = bitPos_ >> 3;
        std::uint64_t w;
        if (byte + 8 <= length_) {
            std::memcpy(&w, data_ + byte, 8);
            w = __builtin_bswap64(w);
        } else {
            w = tailWord(byte);
        }
        if (fillOrder_ != 1) w = reverseBitsInBytes(w);
        return w << (bitPos_ & 7);
    }
    // Consumes n bits; false (reader at the end) when fewer are left.
    bool skipBits(std::int64_t n) {
        if (n > bitsLeft()) {
            bitPos_ = totalBits();
            return false;
        }
        bitPos_ += n;
        return true;
    }
    // Consumes zero bits and the one bit after them; returns how many zeros
    // there were, or -1 (reader at the end) when the data end first.
    std::int64_t zerosBeforeOne();
    std::int64_t bitsLeft() const { return totalBits() - bitPos_; }

    // Byte that holds the next bit, bits of it already used (0..7), and that
    // byte after bit-order correction or its load status.
    std::int32_t position() const { return static_cast<std::int32_t>(bitPos_ >> 3); }
    int bitsUsed() const { return static_cast<int>(bitPos_ & 7); }
    int current() const { return byteAt(position()); }
    std::int32_t length() const { return length_; }
    std::int64_t bitPosition() const { return bitPos_; }
    // Moves to bit 0 of byte position (clamped to the data); returns its byte or load status.
    int seekByte(std::int32_t position);

private:
    std::int64_t totalBits() const { return std::int64_t(length_) * 8; }
    int byteAt(std::int64_t index) const;
    // The last bytes of the data from index on, zero-padded to a word.
    std::uint64_t tailWord(std::int64_t index) const;
    static std::uint64_t reverseBitsInBytes(std::uint64_t w) {
        w = ((w >> 1) & 0x5555555555555555ull) | ((w & 0x5555555555555555ull) << 1);
        w = ((w >> 2) & 0x3333333333333333ull) | ((w & 0x3333333333333333ull) << 2);
        return ((w >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((w & 0x0F0F0F0F0F0F0F0Full) << 4);
    }

    const std::uint8_t* data_ = nullptr;
    std::int32_t length_ = 0;
    std::int64_t bitPos_ = 0;
    std::uint8_t fillOrder_ = 1;
};

}  // namespace quillon
