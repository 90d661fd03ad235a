#include "codec/bit_reader.h"

#include <algorithm>

#include "codec/bit_tables.h"
#include "codec/code_tables.h"

namespace quillon {

Load BitReader::reset(const std::uint8_t* data, std::int32_t length) {
    data_ = data;
    length_ = data ? std::max<std::int32_t>(length, 0) : 0;
    setBitPosition(0);
    return current();
}

Load BitReader::byteAt(std::int64_t index) const {
    if (!data_) return LoadStatus::NoData;
    if (index < 0) return LoadStatus::BeforeStart;
    if (index >= length_) return LoadStatus::PastEnd;
    const std::uint8_t b = data_[index];
    return fillOrder_ == 1 ? b : bit_tables::kReversed[b];
}

BitReader::Window BitReader::refillTail(const std::uint8_t* data, std::int32_t length, std::uint8_t fillOrder,
                                        Window window) {
    while (window.count <= 55 && window.nextByte < length) {  // at most 63 bits: shifts stay defined
        const std::uint8_t b = data[window.nextByte];
        window.bits |= std::uint64_t(fillOrder == 1 ? b : bit_tables::kReversed[b]) << (56 - window.count);
        ++window.nextByte;
        window.count += 8;
    }
    return window;
}

Load BitReader::loadByte(bool advance) {
    if (advance && bitPosition() < totalBits()) setBitPosition((std::int64_t(position()) + 1) * 8);
    return current();
}

Load BitReader::seekByte(std::int32_t position) {
    setBitPosition(std::int64_t(position) * 8);
    return byteAt(position);
}

Load BitReader::readBits(int n) {
    if (!data_) return LoadStatus::NoData;
    const std::uint64_t bits = peek();
    if (n > windowBits_) {
        setBitPosition(totalBits());
        return LoadStatus::PastEnd;
    }
    consume(n);
    return static_cast<int>(bits >> (64 - n));
}

Load BitReader::unreadBits(int n) {
    if (n > bitPosition()) return LoadStatus::BeforeStart;
    setBitPosition(bitPosition() - n);
    return current();
}

Load BitReader::alignToByte(bool word) {
    std::int64_t byte = (bitPosition() + 7) >> 3;
    if (word && (byte & 1)) ++byte;
    setBitPosition(byte * 8);
    return current();
}

Load BitReader::readWord16() {
    alignToByte(false);
    const std::int64_t at = position();
    if (!data_) return LoadStatus::NoData;
    if (at + 2 > length_) return LoadStatus::PastEnd;
    setBitPosition((at + 2) * 8);
    return data_[at] | (data_[at + 1] << 8);
}

LoadStatus BitReader::findEol() {
    std::int64_t index = position();
    const Load first = byteAt(index);
    if (!first.ok()) return first.status;
    // Only the unused bits of the current byte may start the zero run: bits
    // already taken by a code are no part of an EOL.
    int zeros = std::min(bit_tables::trailingZeros(std::uint8_t(first.value)), 8 - bitsUsed());
    for (;;) {
        int b;
        do {
            const Load next = byteAt(++index);
            if (!next.ok()) {
                setBitPosition(totalBits());
                return next.status;
            }
            b = next.value;
            zeros += bit_tables::kLeadingZeros[b];
        } while (b == 0);
        setBitPosition(index * 8 + bit_tables::kLeadingZeros[b] + 1);
        if (zeros >= kEolZeroBits) return LoadStatus::Loaded;
        zeros = bit_tables::trailingZeros(std::uint8_t(b));
    }
}

}  // namespace quillon
