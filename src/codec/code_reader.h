#pragma once
// Reads one T.4 code from the bit input with a lookup table of codec/code_tables.h.

#include "codec/bit_reader.h"
#include "codec/code_tables.h"
#include "codec/decode_status.h"

namespace quillon {

// The code readers look at no more bits than peekCode() promises.
static_assert(BitReader::kLongestCode >= kFirstLevelBits + kSecondLevelBits);
static_assert(BitReader::kLongestCode >= kRunBits && BitReader::kLongestCode >= kModeBits);

// The code's value (run length or mode number), InvalidCode, UnexpectedEol
// (eleven or more zero bits and a one bit; the reader stands after the one
// bit), or DataEnded when the code runs past the data.
[[gnu::always_inline]] inline LineResult<int> readCode(BitReader& reader, const CodeEntry* table) {
    const std::uint64_t bits = reader.peekCode();
    CodeEntry entry = table[bits >> (64 - kFirstLevelBits)];
    if (entry.kind == CodeKind::SubTable)
        entry = table[entry.value + ((bits >> (64 - kFirstLevelBits - kSecondLevelBits)) & (kSecondLevelSize - 1))];
    if (entry.kind == CodeKind::ZeroRun) {
        const std::int64_t zeros = reader.zerosBeforeOne();
        if (zeros < 0) return LineStatus::DataEnded;
        return zeros >= kEolZeroBits ? LineStatus::UnexpectedEol : LineStatus::InvalidCode;
    }
    // A window shorter than the code holds everything that is left.
    if (entry.length > reader.windowBits()) {
        reader.skipBits(entry.length);
        return LineStatus::DataEnded;
    }
    reader.consume(entry.length);
    return entry.kind == CodeKind::Code ? LineResult<int>(entry.value) : LineStatus::InvalidCode;
}

// One two-dimensional mode code: its mode number, or a status as readCode gives.
[[gnu::always_inline]] inline LineResult<int> readMode(BitReader& reader) {
    const std::uint64_t bits = reader.peekCode();
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
[[gnu::always_inline]] inline LineResult<int> readRun(BitReader& reader, int colour) {
    const std::uint64_t bits = reader.peekCode();
    const std::uint16_t entry = kRunLookup[(colour << kRunBits) + (bits >> (64 - kRunBits))];
    const int length = entry & 15;
    if (entry != 0 && length <= reader.windowBits()) [[likely]] {
        reader.consume(length);
        return entry >> 4;
    }
    return readCode(reader, runTable(colour));
}

// The codes of one run of a colour: its make-up codes, then the code after them.
struct RunCodes {
    std::int64_t makeUp = 0;  // the sum of the make-up codes
    LineResult<int> code = 0;  // the terminating code's length, or the status of the code that failed
};

[[gnu::always_inline]] inline RunCodes readRunCodes(BitReader& reader, int colour) {
    RunCodes run;
    run.code = readRun(reader, colour);
    while (run.code.hasValue() && run.code.value() >= 64) {
        run.makeUp += run.code.value();
        run.code = readRun(reader, colour);
    }
    return run;
}

// One run of a colour: its length, or the status of the code that failed.
[[gnu::always_inline]] inline LineResult<std::int64_t> readRunLength(BitReader& reader, int colour) {
    const RunCodes run = readRunCodes(reader, colour);
    if (!run.code.hasValue()) return run.code.status();
    return run.makeUp + run.code.value();
}

}  // namespace quillon
