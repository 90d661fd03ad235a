#pragma once
// Reads one T.4 code from the bit input with a lookup table of codec/code_tables.h.

#include "codec/bit_reader.h"
#include "codec/code_tables.h"
#include "codec/decode_status.h"

namespace quillon {

// The code's value (run length or mode number), kInvalidCode, kUnexpectedEol
// (eleven or more zero bits and a one bit; the reader stands after the one
// bit), or kDataEnded when the code runs past the data.
[[gnu::always_inline]] inline int readCode(BitReader& reader, const CodeEntry* table) {
    const std::uint64_t bits = reader.peek();
    CodeEntry entry = table[bits >> (64 - kFirstLevelBits)];
    if (entry.kind == CodeKind::SubTable)
        entry = table[entry.value + ((bits >> (64 - kFirstLevelBits - kSecondLevelBits)) & (kSecondLevelSize - 1))];
    if (entry.kind == CodeKind::ZeroRun) {
        const std::int64_t zeros = reader.zerosBeforeOne();
        if (zeros < 0) return kDataEnded;
        return zeros >= kEolZeroBits ? kUnexpectedEol : kInvalidCode;
    }
    // A window shorter than the code holds everything that is left.
    if (entry.length > reader.windowBits()) {
        reader.skipBits(entry.length);
        return kDataEnded;
    }
    reader.consume(entry.length);
    return entry.kind == CodeKind::Code ? entry.value : kInvalidCode;
}

// One two-dimensional mode code: its mode number, or a status as readCode gives.
[[gnu::always_inline]] inline int readMode(BitReader& reader) {
    const std::uint64_t bits = reader.peek();
    const std::uint8_t entry = kModeLookup[bits >> (64 - kModeBits)];
    const int length = entry & 7;
    if (entry != 0 && length <= reader.windowBits()) [[likely]] {
        reader.consume(length);
        return entry >> 3;
    }
    return readCode(reader, kModeTable.data());
}

inline const CodeEntry* runTable(int colour) { return colour ? kBlackTable.data() : kWhiteTable.data(); }

// One run code of colour 0 (white) or 1 (black): a run length, or a status
// as readCode gives.
[[gnu::always_inline]] inline int readRun(BitReader& reader, int colour) {
    const std::uint64_t bits = reader.peek();
    const std::uint16_t entry = kRunLookup[(colour << kRunBits) + (bits >> (64 - kRunBits))];
    const int length = entry & 15;
    if (entry != 0 && length <= reader.windowBits()) [[likely]] {
        reader.consume(length);
        return entry >> 4;
    }
    return readCode(reader, runTable(colour));
}

// One run of a colour: the sum of its make-up codes and the terminating code
// that ends it, or the status of the code that failed.
[[gnu::always_inline]] inline std::int64_t readRunLength(BitReader& reader, int colour) {
    std::int64_t run = 0;
    for (;;) {
        const int code = readRun(reader, colour);
        if (code < 0) return code;
        run += code;
        if (code < 64) return run;
    }
}

}  // namespace quillon
