#pragma once
// The runs of a row of pixels, for pages that arrive as rows (read by
// libtiff or from an uncompressed or run-length coded raster) rather than as
// fax codes: the Group 4 coder takes lines as runs, first white.

#include <cstdint>
#include <vector>

namespace quillon {

// The runs of the first width pixels of a packed row (leftmost pixel in the
// most significant bit of its first byte), first white (possibly 0), into
// runs. blackIs1: a 1 bit is a black pixel; otherwise a 0 bit is.
void rowRuns(const std::uint8_t* row, std::uint32_t width, bool blackIs1, std::vector<std::uint32_t>& runs);

}  // namespace quillon
