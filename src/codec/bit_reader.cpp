#include "codec/bit_reader.h"

#include <algorithm>

#include "codec/bit_tables.h"
#include "codec/code_tables.h"
#include "codec/decode_status.h"

namespace quillon {

int BitReader::reset(const std::uint8_t* data, std::int32_t length) {
    data_ = data;
    length_ = data ? std::max<std::int32_t>(length, 0) : 0;
    bitPos_ = 0;
    return current();
}

int BitReader::byteAt(std::int64_t index) const {
    if (!data_) return kLoadNoData;
    if (index < 0) return kLoadBeforeStart;
    if (index >= length_) return kLoadPastEnd;
    const std::uint8_t b = data_[index];
    return fillOrder_ == 1 ? b : bit_tables::kReversed[b];
}

int BitReader::loadByte(bool advance) {
    if (advance && bitPos_ < totalBits()) bitPos_ = (std::int64_t(position()) + 1) * 8;
    return current();
}

int BitReader::seekByte(std::int32_t position) {
    bitPos_ = std::clamp<std::int64_t>(std::int64_t(position) * 8, 0, totalBits());
    return byteAt(position);
}

std::uint64_t BitReader::tailWord(std::int64_t index) const {
    std::uint64_t w = 0;
    for (std::int64_t i = index; data_ && i < length_ && i < index + 8; ++i)
        w |= std::uint64_t(data_[i]) << (56 - 8 * (i - index));
    return w;
}

int BitReader::readBits(int n) {
    if (bitsLeft() < n) {
        const int status = data_ ? kLoadPastEnd : kLoadNoData;
        bitPos_ = totalBits();
        return status;
    }
    const int bits = static_cast<int>(peek64() >> (64 - n));
    bitPos_ += n;
    return bits;
}

int BitReader::unreadBits(int n) {
    if (n > bitPos_) return kLoadBeforeStart;
    bitPos_ -= n;
    return current();
}

int BitReader::alignToByte(bool word) {
    std::int64_t byte = (bitPos_ + 7) >> 3;
    if (word && (byte & 1)) ++byte;
    bitPos_ = std::min(byte * 8, totalBits());
    return current();
}

int BitReader::readWord16() {
    alignToByte(false);
    const std::int64_t at = position();
    if (!data_) return kLoadNoData;
    if (at + 2 > length_) return kLoadPastEnd;
    bitPos_ += 16;
    return data_[at] | (data_[at + 1] << 8);
}

std::int64_t BitReader::zerosBeforeOne() {
    std::int64_t zeros = 0;
    for (;;) {
        const std::int64_t left = bitsLeft();
        const std::uint64_t w = peek64();
        const int lead = w ? __builtin_clzll(w) : 64;
        if (lead < 57) {
            if (lead >= left) break;
            bitPos_ += lead + 1;
            return zeros + lead;
        }
        if (left <= 56) break;
        bitPos_ += 56;
        zeros += 56;
    }
    bitPos_ = totalBits();
    return -1;
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
                bitPos_ = totalBits();
                return b;
            }
            zeros += bit_tables::kLeadingZeros[b];
        } while (b == 0);
        bitPos_ = index * 8 + bit_tables::kLeadingZeros[b] + 1;
        if (zeros >= kEolZeroBits) return 0;
        zeros = bit_tables::trailingZeros(std::uint8_t(b));
    }
}

}  // namespace quillon
