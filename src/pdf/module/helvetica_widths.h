#pragma once
// The advance widths of Helvetica's glyphs for Windows-1252 (WinAnsiEncoding)
// codes 32 to 255, in thousandths of an em: the font's own metrics. A text
// layer must give each glyph its real width: viewers that find words by the
// gaps between glyph outlines would otherwise split words at narrow letters.
// Codes that Windows-1252 leaves undefined take the width of '?'.

#include <array>
#include <cstdint>

namespace quillon {

inline constexpr unsigned kHelveticaFirstCode = 32;
inline constexpr unsigned kHelveticaLastCode = 255;

inline constexpr std::array<std::uint16_t, kHelveticaLastCode - kHelveticaFirstCode + 1> kHelveticaWidths = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,    // 32-47
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,    // 48-63
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,   // 64-79
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,    // 80-95
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,    // 96-111
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584, 556,    // 112-127
    556, 556, 222, 556, 333, 1000, 556, 556, 333, 1000, 667, 333, 1000, 556, 611, 556, // 128-143
    556, 222, 222, 333, 333, 350, 556, 1000, 333, 1000, 500, 333, 944, 556, 500, 667,  // 144-159
    278, 333, 556, 556, 556, 556, 260, 556, 333, 737, 370, 556, 584, 333, 737, 333,    // 160-175
    400, 584, 333, 333, 333, 556, 537, 278, 333, 333, 365, 556, 834, 834, 834, 611,    // 176-191
    667, 667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,   // 192-207
    722, 722, 778, 778, 778, 778, 778, 584, 778, 722, 722, 722, 722, 667, 667, 611,    // 208-223
    556, 556, 556, 556, 556, 556, 889, 500, 556, 556, 556, 556, 278, 278, 278, 278,    // 224-239
    556, 556, 556, 556, 556, 556, 556, 584, 611, 556, 556, 556, 556, 500, 556, 500,    // 240-255
};

// A few widths to catch a shifted row.
static_assert(kHelveticaWidths[' ' - kHelveticaFirstCode] == 278);
static_assert(kHelveticaWidths['@' - kHelveticaFirstCode] == 1015);
static_assert(kHelveticaWidths['W' - kHelveticaFirstCode] == 944);
static_assert(kHelveticaWidths['i' - kHelveticaFirstCode] == 222);
static_assert(kHelveticaWidths['|' - kHelveticaFirstCode] == 260);
static_assert(kHelveticaWidths[0x99 - kHelveticaFirstCode] == 1000);  // trade mark
static_assert(kHelveticaWidths[0xC6 - kHelveticaFirstCode] == 1000);  // AE
static_assert(kHelveticaWidths[0xFF - kHelveticaFirstCode] == 500);   // y with diaeresis

}  // namespace quillon
