#pragma once
// Pages that look like office faxes to a coder (a letterhead, paragraphs of
// word-like strokes, tables, rules), drawn from a seed, for the demo folder
// and for tests that need whole pages without outside data.

#include "support/pixel_hash.h"

namespace quillon::test {

// A page of width x rows pixels (1 = black); the same seed draws the same page.
Bitmap drawnPage(unsigned width, unsigned rows, unsigned seed);

}  // namespace quillon::test
