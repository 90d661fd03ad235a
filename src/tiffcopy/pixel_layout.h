#pragma once
// How the decoded rows of one image are laid out, shared by the input and
// the output image (the copy keeps size, samples and planar configuration).

#include <cstddef>
#include <cstdint>

#include <tiffio.h>

namespace quillon {

struct PixelLayout {
    std::uint32_t width = 0;
    std::uint32_t length = 0;
    std::uint16_t planes = 1;            // sample planes stored apart; 1 when contiguous
    std::uint32_t bitsPerPlanePixel = 0; // bits of one pixel within one plane
    std::size_t rowBytes = 0;            // one decoded row of one plane
};

// Describes the rows of the current input image and checks that the output
// image decodes to the same rows and that the image stays within the copy
// limits. Reports why and returns false when the rows cannot be copied.
bool describePixels(TIFF* in, TIFF* out, PixelLayout& layout);

// "tiffcp: <input>: Don't know how to copy/convert image."
void reportCannotCopy(TIFF* in);

}  // namespace quillon
