#pragma once
// Reads one T.4 code from the bit input with a lookup table of codec/code_tables.h.

#include "codec/bit_reader.h"
#include "codec/code_tables.h"
#include "codec/decode_status.h"

namespace quillon {

// The code's value (run length or mode number), kInvalidCode, kUnexpectedEol
// (eleven or more zero bits and a one bit; the reader stands after the one
// bit), or kDataEnded when the code runs past the data.
inline int readCode(BitReader& reader, const CodeEntry* table) {
    const std::uint64_t bits = reader.peek64();
    CodeEntry entry = table[bits >> (64 - kFirstLevelBits)];
    if (entry.kind == CodeKind::SubTable)
        entry = table[entry.value + ((bits >> (64 - kFirstLevelBits - kSecondLevelBits)) & (kSecondLevelSize - 1))];
    if (entry.kind == CodeKind::ZeroRun) {
        const std::int64_t zeros = reader.zerosBeforeOne();
        if (zeros < 0) return kDataEnded;
        return zeros >= kEolZeroBits ? kUnexpectedEol : kInvalidCode;
    }
    if (!reader.skipBits(entry.length)) return kDataEnded;
    return entry.kind == CodeKind::Code ? entry.value : kInvalidCode;
}

}  // namespace quillon
