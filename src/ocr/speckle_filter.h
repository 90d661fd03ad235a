#pragma once
// Line noise on a fax (bits flipped here and there by a bad telephone line)
// costs recognition more than anything else: a page with 2 % of its pixels
// flipped reads with a quarter of its words wrong. The filter clears what a
// scanner cannot have printed, in the pixels recognition reads only (the
// page's image in the output keeps the fax's bits).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

// The largest patch of black pixels (touching by edge or corner) taken for
// noise: the full stop of 9-point type at 100 lines per inch is about 3 by 2.
inline constexpr int kMaxSpecklePixels = 3;

// Noise is judged band by band, as a bad line garbles some seconds of a
// transmission and not others: a band of rows is noisy when it holds more
// than one small patch per kNoisyBandRatio pixels. Clean type has some (the
// dots of small letters at 100 lines per inch: one per 7,000 pixels on a
// page of 9-point text); 0.5 % of pixels flipped makes one per 250.
inline constexpr std::uint32_t kSpeckleBandRows = 64;
inline constexpr std::size_t kNoisyBandRatio = 1000;

// Rows of bytesPerRow bytes, white as 1 bits. Where rows are noisy (many
// small black patches), black patches of up to kMaxSpecklePixels pixels turn
// white and a white pixel with black above, below, left and right turns
// black. Clean rows stay as they are: the dots and full stops of small type
// are patches that small too. Decided on the pixels as they were.
void removeSpeckle(std::vector<std::uint8_t>& bits, std::uint32_t width, std::uint32_t rows,
                   std::uint32_t bytesPerRow);

}  // namespace quillon
