#pragma once
// Moves b1, the reference changing element of two-dimensional coding, along
// a reference line held as run lengths. b1 is the sum of the first `cursor`
// runs; the changing element after an odd number of runs turns black, after
// an even number white.

#include <cstdint>

#include "codec/run_list.h"

namespace quillon {

// b1 at the start of a line: the end of the first reference run, or the
// width when the reference holds no run.
inline std::int64_t firstReference(RunList& reference, std::int64_t width) {
    reference.cursor = 0;
    if (reference.count == 0) return width;
    reference.cursor = 1;
    return reference.runs[0];
}

// The first changing element right of a0 whose colour is opposite to colour
// (0 white, 1 black), the coding line's colour at a0.
inline std::int64_t advanceReference(RunList& reference, std::int64_t a0, std::int64_t b1, int colour,
                                     std::int64_t width) {
    while (b1 < width && b1 <= a0 && reference.cursor < reference.count) b1 += reference.runs[reference.cursor++];
    if (int(reference.cursor & 1) == colour && reference.cursor < reference.count)
        b1 += reference.runs[reference.cursor++];
    // A reference cut short (more runs than the list holds) ends in the
    // imaginary changing element at the width.
    if (b1 <= a0 && b1 < width) b1 = width;
    return b1;
}

// Steps b1 back to the last changing element at or left of a1, so that the
// next advanceReference finds the element after a1 again.
inline std::int64_t backReference(RunList& reference, std::int64_t a1, std::int64_t b1) {
    if (a1 < 0) {
        reference.cursor = 0;
        return 0;
    }
    while (b1 > a1) {
        if (reference.cursor == 0) return 0;
        b1 -= reference.runs[--reference.cursor];
    }
    return b1;
}

// b2: the changing element after b1, or the width when the reference has no
// further run.
inline std::int64_t nextReference(RunList& reference, std::int64_t b1, std::int64_t width) {
    if (reference.cursor >= reference.count) return width;
    return b1 + reference.runs[reference.cursor++];
}

}  // namespace quillon
