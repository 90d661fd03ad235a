#pragma once
// Codes a bilevel bitmap as a fax page with libtiff, the way WinFax stores its
// page data: T.4 one-dimensional with EOL codes (with or without fill bits
// before each EOL) or T.6, bits least significant first (TIFF fill order 2).

#include <cstdint>
#include <vector>

namespace quillon::test {

// T4OneDimensional has fill bits before each EOL, so that EOLs end on a byte
// boundary; T4NoFillBits puts each EOL right behind its line. T.4
// two-dimensional pages are not WinFax data; the fuzz seeds use them.
enum class FaxPageCoding { T4OneDimensional, T4TwoDimensional, T6, T4NoFillBits };

// bits: rows of (width + 7) / 8 bytes, 1 = black. Returns the coded bytes of
// the page, or nothing when libtiff cannot code it (for example 0 rows).
std::vector<std::uint8_t> encodeFaxPage(const std::uint8_t* bits, unsigned width, unsigned rows,
                                        FaxPageCoding coding);

}  // namespace quillon::test
