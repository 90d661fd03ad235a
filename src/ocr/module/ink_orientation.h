#pragma once
// Whether a page of Latin type looks fed upside down, from its ink alone. In
// upright print the zone above the letters' x-height (ascenders, capitals,
// digits) holds several times the ink of the zone below their baseline
// (descenders); turned by 180 degrees the zones swap. Measured over the
// printed lines found between blank rows, in milliseconds: a hint that lets a
// page turned over go to orientation detection before it is read, instead of
// being read as faxed first and again turned.

#include "ocr/page_pixels.h"

namespace quillon {

// True when at least kInkLinesNeeded printed lines are found and the ink
// below their x-height is more than kTurnedInkRatio times the ink above it.
// Pages of other scripts, drawings, and lines that touch (no blank row
// between them) give no hint: false.
inline constexpr int kInkLinesNeeded = 5;
inline constexpr double kTurnedInkRatio = 2.0;
bool inkLooksUpsideDown(const PagePixels& pixels);

}  // namespace quillon
