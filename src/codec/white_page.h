#pragma once
// The T.6 coding of an all-white page, for a page that has no data of its own.

#include <cstdint>
#include <vector>

namespace quillon {

// Every line is one V0 code (the bit 1) against the white line above it,
// and an EOFB ends the page; bytes filled least significant bit first.
std::vector<std::uint8_t> whitePageT6LsbFirst(std::uint32_t rows);

}  // namespace quillon
