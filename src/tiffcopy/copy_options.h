#pragma once
// Parameters of one copy of a TIFF file through libtiff.

#include <cstdint>

namespace quillon {

struct CopyOptions {
    // 0 none, 1 PackBits, 2..5 CCITT Group 3 variants, 6 CCITT Group 4,
    // 7 JPEG (RGB), 8 JPEG (raw), 9 LZW, 10 Deflate; any other value keeps
    // the input's compression.
    std::int32_t compressionChoice = 6;
    std::int32_t jpegQuality = 75;
    std::uint16_t fillOrder = 0;   // 0 keeps the input's
    std::int32_t tiledOutput = -1; // 1 tiles, 0 strips, -1 as the input
    std::int32_t append = 0;       // non-zero appends the images to the output
    // Each image in one strip, so that its coded data is one stream (a PDF
    // page takes a Group 4 image whole); otherwise the input's strips.
    bool stripPerImage = false;
};

}  // namespace quillon
