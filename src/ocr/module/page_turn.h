#pragma once
// Turning the pixels of a page by quarter turns, so that a page faxed on its
// side or upside down is read the right way up.

#include "ocr/page_pixels.h"

namespace quillon {

// The page turned clockwise by degrees (0, 90, 180 or 270; other values
// are taken as 0). A quarter turn swaps width and rows.
PagePixels turnedClockwise(const PagePixels& pixels, int degrees);

}  // namespace quillon
