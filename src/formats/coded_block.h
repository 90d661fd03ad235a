#pragma once
// One block of CCITT-coded data (a raw Group 3 page, a TIFF strip, the Group
// 4 data of a CALS file) decoded once by the program's own decoder, its lines
// handed on as they come.

#include <cstdint>
#include <span>

#include "codec/fax_image.h"
#include "codec/line_sink.h"
#include "engine/page_summary.h"

namespace quillon {

struct CodedBlock {
    std::span<const std::uint8_t> data;
    ImageCoding coding = ImageCoding::T6;  // MH (either alignment), T.4 1D or 2D, T.6
    std::uint8_t fillOrder = 1;            // 1: most significant bit first; 2: least
    std::uint32_t width = 0;
    std::uint32_t maxRows = 0;  // lines beyond are counted, never handed on
};

// What decoding a block found.
struct BlockLines {
    std::uint32_t kept = 0;  // lines handed on (at most maxRows)
    std::uint32_t met = 0;   // kept and dropped, also beyond maxRows
    std::uint32_t bad = 0;   // dropped, or coded past the width
    std::uint32_t goodRows = 0;
    bool endMarked = false;  // T.6: the data hold their EOFB
};

BlockLines decodeCodedBlock(const CodedBlock& block, LineSink* lines);

}  // namespace quillon
