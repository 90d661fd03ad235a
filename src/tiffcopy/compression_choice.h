#pragma once
// The output compression that each CopyOptions::compressionChoice stands for.

#include <cstdint>

namespace quillon {

struct OutputCompression {
    std::uint16_t compression = 0;    // TIFF Compression value; 0 keeps the input's
    std::int64_t group3Options = -1; // T4Options to set; -1 copies the input's
    int jpegColorMode = 1;           // JPEGCOLORMODE_RGB unless raw is chosen
};

OutputCompression outputCompressionFor(std::int32_t compressionChoice);

}  // namespace quillon
