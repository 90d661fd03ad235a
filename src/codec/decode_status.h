#pragma once
// Integer results shared by the bit input and the fax decoders.

namespace quillon {

// Load statuses: why a byte of coded data could not be loaded.
inline constexpr int kLoadNoData = -1;       // no data buffer
inline constexpr int kLoadBeforeStart = -2;  // position before the first byte
inline constexpr int kLoadPastEnd = -3;      // position at or beyond the length

// A page could not be decoded at all: unknown scheme, refused T.6 options,
// unusable geometry, no start of data, or no memory.
inline constexpr int kDecodeRefused = -1;

// Line and run statuses.
inline constexpr int kDataEnded = -11;     // data ended inside a line (or before any complete line)
inline constexpr int kInvalidCode = -12;   // a code that no table holds, or an unsupported one
inline constexpr int kUnexpectedEol = -13; // an EOL where a run or a T.6 line was expected
inline constexpr int kEndedAtWidth = -14;  // data ended exactly when the line reached the width

}  // namespace quillon
