#pragma once
// What the bit input and the fax decoders give where they cannot give a
// value: a load status, a line status or a page status, each a type of its
// own, so that one is never taken for another.

#include <cstdint>

namespace quillon {

// A load from the coded data: done, or why a byte could not be loaded.
enum class LoadStatus : std::uint8_t {
    Loaded,       // the data held what was asked for
    NoData,       // no data buffer
    BeforeStart,  // position before the first byte
    PastEnd,      // position at or beyond the length
};

// A value loaded from the data (a byte, bits, a 16-bit word) with its
// status; the value counts only when the status is Loaded.
struct Load {
    int value = 0;
    LoadStatus status = LoadStatus::Loaded;

    constexpr Load(int loaded) : value(loaded) {}
    constexpr Load(LoadStatus failed) : status(failed) {}
    constexpr bool ok() const { return status == LoadStatus::Loaded; }
};

// Why a code, a run or a line gave no value.
enum class LineStatus : std::int8_t {
    DataEnded = 1,  // data ended inside a line (or before any complete line)
    InvalidCode,    // a code that no table holds, or an unsupported one
    UnexpectedEol,  // an EOL where a run or a T.6 line was expected
    EndedAtWidth,   // data ended exactly when the line reached the width
};

// What a code (its run length or mode number), a run or a line (its length)
// decoded to, or the line status in its place. One integer, the statuses
// below 0, so that the line decoders keep it in a register.
template <class Int>
class LineResult {
public:
    constexpr LineResult(Int value) : code_(value) {}  // a value: 0 or more
    constexpr LineResult(LineStatus status) : code_(-static_cast<Int>(status)) {}

    constexpr bool hasValue() const { return code_ >= 0; }
    constexpr Int value() const { return code_; }                                   // with hasValue() only
    constexpr LineStatus status() const { return static_cast<LineStatus>(-code_); }  // without it only

    friend constexpr bool operator==(LineResult result, LineStatus status) {
        return result.code_ == -static_cast<Int>(status);
    }
    // Holds the value `value` (0 or more).
    friend constexpr bool operator==(LineResult result, Int value) { return result.code_ == value; }

private:
    Int code_;
};

// How a page decoder ended.
enum class PageStatus : std::uint8_t {
    Decoded,    // the page's lines are decoded; droppedLines() counts those lost to damage
    Refused,    // not decoded at all: unknown scheme, refused T.6 options, unusable geometry,
                // no start of data, or no memory
    NoLine,     // T.6: data ended before one line was decoded
    NoRestart,  // T.6: an invalid code had no new start of data behind it; the lines before it are kept
};

}  // namespace quillon
