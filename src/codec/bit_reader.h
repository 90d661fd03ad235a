#pragma once
// Bit input over CCITT-coded bytes, most significant bit first after fill
// order correction. The reader never touches memory outside [data, data+length).
//
// The next bits wait in a 64-bit window that is refilled a word at a time, so
// that a code is found with one look at the window and fill order 2 costs one
// reversal per refill instead of one per code.
//
// Line decoders work on a local copy of the reader and hand it back at the
// end of a line: every operation a code lookup needs is inline and never lets
// the copy's address escape (the tail refill takes and returns values), so
// the compiler keeps the window in registers instead of reloading it after
// every store of a run.

#include <cstdint>
#include <cstring>

#include "codec/decode_status.h"

namespace quillon {

class BitReader {
public:
    // fillOrder 1: bytes used as stored; any other value: every byte bit-reversed.
    void setFillOrder(std::uint8_t fillOrder) { fillOrder_ = fillOrder; }
    std::uint8_t fillOrder() const { return fillOrder_; }

    // Binds to data (not owned) at bit 0; returns the first byte or its load status.
    Load reset(const std::uint8_t* data, std::int32_t length);

    // The byte at the position (after an advance to the next byte when asked),
    // bit-order corrected, or its load status.
    Load loadByte(bool advance);
    // Next n bits (1..24), first bit highest, or the load status when they run
    // past the data (the reader then stands at the end).
    Load readBits(int n);
    // Steps back n bits (1..24) and returns the current byte; BeforeStart
    // when that would pass the start.
    Load unreadBits(int n);
    // Moves to the next byte when bits of the current one are used; with
    // word set, then on to an even byte position. Returns the new current byte.
    Load alignToByte(bool word);
    // The two stored bytes at the (aligned) position as a little-endian value,
    // without bit-order correction; advances by 2.
    Load readWord16();
    // Searches forward for eleven or more zero bits followed by a one bit,
    // starting with the unused bits of the current byte; Loaded with the
    // reader just after that one bit, or the load status at the end.
    LoadStatus findEol();

    // The window: at least 32 bits of it are real unless the data end first
    // (then windowBits() tells how many); bits past the data read as 0.
    [[gnu::always_inline]] std::uint64_t peek() {
        if (windowBits_ < 32) refill();
        return window_;
    }
    // The same with at least the 13 bits of the longest T.4 code: code
    // readers refill less often.
    [[gnu::always_inline]] std::uint64_t peekCode() {
        if (windowBits_ < kLongestCode) refill();
        return window_;
    }
    static constexpr int kLongestCode = 13;
    int windowBits() const { return windowBits_; }
    // Consumes n bits of the window (n <= windowBits()).
    [[gnu::always_inline]] void consume(int n) {
        window_ <<= n;
        windowBits_ -= n;
    }
    // Consumes n bits; false (reader at the end) when fewer are left.
    [[gnu::always_inline]] bool skipBits(std::int64_t n) {
        if (n <= windowBits_) {
            consume(static_cast<int>(n));
            return true;
        }
        if (n > bitsLeft()) {
            setBitPosition(totalBits());
            return false;
        }
        setBitPosition(bitPosition() + n);
        return true;
    }
    // Consumes zero bits and the one bit after them; returns how many zeros
    // there were, or -1 (reader at the end) when the data end first.
    [[gnu::always_inline]] std::int64_t zerosBeforeOne() {
        std::int64_t zeros = 0;
        for (;;) {
            peek();
            if (windowBits_ == 0) return -1;
            // Only the real bits of the window count.
            const std::uint64_t real = window_ & ~(~0ull >> windowBits_);
            if (real) {
                const int lead = __builtin_clzll(real);
                consume(lead + 1);
                return zeros + lead;
            }
            zeros += windowBits_;
            consume(windowBits_);
        }
    }
    std::int64_t bitsLeft() const { return totalBits() - bitPosition(); }

    // Byte that holds the next bit, bits of it already used (0..7), and that
    // byte after bit-order correction or its load status.
    std::int32_t position() const { return static_cast<std::int32_t>(bitPosition() >> 3); }
    int bitsUsed() const { return static_cast<int>(bitPosition() & 7); }
    Load current() const { return byteAt(position()); }
    std::int32_t length() const { return length_; }
    std::int64_t bitPosition() const { return std::int64_t(nextByte_) * 8 - windowBits_; }
    // Moves to bit 0 of byte position (clamped to the data); returns its byte or load status.
    Load seekByte(std::int32_t position);

private:
    std::int64_t totalBits() const { return std::int64_t(length_) * 8; }
    Load byteAt(std::int64_t index) const;
    [[gnu::always_inline]] void setBitPosition(std::int64_t bit) {
        bit = bit < 0 ? 0 : bit > totalBits() ? totalBits() : bit;
        nextByte_ = static_cast<std::int32_t>(bit >> 3);
        window_ = 0;
        windowBits_ = 0;
        refill();
        consume(static_cast<int>(bit & 7));
    }
    [[gnu::always_inline]] void refill() {
        if (std::int64_t(nextByte_) + 8 <= length_) {
            std::uint64_t w;
            std::memcpy(&w, data_ + nextByte_, 8);
            w = __builtin_bswap64(w);
            if (fillOrder_ != 1) w = reverseBitsInBytes(w);
            window_ |= w >> windowBits_;
            const int bytes = (63 - windowBits_) >> 3;
            nextByte_ += bytes;
            windowBits_ += bytes * 8;
        } else {
            const Window tail = refillTail(data_, length_, fillOrder_, {window_, windowBits_, nextByte_});
            window_ = tail.bits;
            windowBits_ = tail.count;
            nextByte_ = tail.nextByte;
        }
    }
    struct Window {
        std::uint64_t bits;
        int count;
        std::int32_t nextByte;
    };
    // Byte by byte near the end of the data; by value, so that no address escapes.
    static Window refillTail(const std::uint8_t* data, std::int32_t length, std::uint8_t fillOrder, Window window);
    [[gnu::always_inline]] static std::uint64_t reverseBitsInBytes(std::uint64_t w) {
        w = ((w >> 1) & 0x5555555555555555ull) | ((w & 0x5555555555555555ull) << 1);
        w = ((w >> 2) & 0x3333333333333333ull) | ((w & 0x3333333333333333ull) << 2);
        return ((w >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((w & 0x0F0F0F0F0F0F0F0Full) << 4);
    }

    const std::uint8_t* data_ = nullptr;
    std::int32_t length_ = 0;
    std::uint8_t fillOrder_ = 1;
    // window_ holds the next windowBits_ bits at its top; bits below them are
    // either 0 or the data that follow. nextByte_ is the first byte not in it.
    std::uint64_t window_ = 0;
    int windowBits_ = 0;
    std::int32_t nextByte_ = 0;
};

}  // namespace quillon
