#include "codec/bit_reader.h"

#include <algorithm>

#include "codec/bit_tables.h"
#include "codec/code_tables.h"
#include "codec/decode_status.h"

namespace quillon {

int BitReader::reset(const std::uint8_t* data, std::int32_t length) {
    data_ = data;
    length_ = data ? std::max<std::int32_t>(length, 0) : 0;
    setBitPosition(0);
    return data_ ? current() : kLoadNoData;
}

int BitReader::byteAt(std::int64_t index) const {
    if (!data_) return kLoadNoData;
    if (index < 0) return kLoadBeforeStart;
    if (index >= length_) return kLoadPastEnd;
    const std::uint8_t b = data_[index];
    return fillOrder_ == 1 ? b : bit_tables::kReversed[b];
}

void BitReader::refillTail() {
    while (windowBits_ <= 55 && nextByte_ < length_) {  // at most 63 bits: shifts stay defined
        window_ |= std::uint64_t(byteAt(nextByte_)) << (56 - windowBits_);
        ++nextByte_;
        windowBits_ += 8;
    }
}

void BitReader::setBitPosition(std::int64_t bit) {
    bit = std::clamp<std::int64_t>(bit, 0, totalBits());
    nextByte_ = static_cast<std::int32_t>(bit >> 3);
    window_ = 0;
    windowBits_ = 0;
    refill();
    consume(static_cast<int>(bit & 7));
}

int BitReader::loadByte(bool advance) {
    if (advance && bitPosition() < totalBits()) setBitPosition((std::int64_t(position()) + 1) * 8);
    return current();
}

int BitReader::seekByte(std::int32_t position) {
    setBitPosition(std::int64_t(position) * 8);
    return byteAt(position);
}

bool BitReader::skipBits(std::int64_t n) {
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

int BitReader::readBits(int n) {
    if (!data_) return kLoadNoData;
    const std::uint64_t bits = peek();
    if (n > windowBits_) {
        setBitPosition(totalBits());
        return kLoadPastEnd;
    }
    consume(n);
    return static_cast<int>(bits >> (64 - n));
}

int BitReader::unreadBits(int n) {
    if (n > bitPosition()) return kLoadBeforeStart;
    setBitPosition(bitPosition() - n);
    return current();
}

int BitReader::alignToByte(bool word) {
    std::int64_t byte = (bitPosition() + 7) >> 3;
    if (word && (byte & 1)) ++byte;
    setBitPosition(byte * 8);
    return current();
}

int BitReader::readWord16() {
    alignToByte(false);
    const std::int64_t at = position();
    if (!data_) return kLoadNoData;
    if (at + 2 > length_) return kLoadPastEnd;
    setBitPosition((at + 2) * 8);
    return data_[at] | (data_[at + 1] << 8);
}

std::int64_t BitReader::zerosBeforeOne() {
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

int BitReader::findEol() {
    std::int64_t index = position();
    const int first = byteAt(index);
    if (first < 0) return first;
    // Only the unused bits of the current byte may start the zero run: bits
    // already taken by a code are no part of an EOL.
    int zeros = std::min(bit_tables::trailingZeros(std::uint8_t(first)), 8 - bitsUsed());
    for (;;) {
        int b;
        do {
            b = byteAt(++index);
            if (b < 0) {
                setBitPosition(totalBits());
                return b;
            }
            zeros += bit_tables::kLeadingZeros[b];
        } while (b == 0);
        setBitPosition(index * 8 + bit_tables::kLeadingZeros[b] + 1);
        if (zeros >= kEolZeroBits) return 0;
        zeros = bit_tables::trailingZeros(std::uint8_t(b));
    }
}

}  // namespace quillon
