#pragma once
// Paper size and horizontal resolution told by a fax line's width.

#include <cstdint>

namespace quillon {

struct WidthClass {
    std::uint8_t paperCode;      // 1 A4, 2 B4, 3 A3
    std::uint16_t xResolution;   // pixels per inch
};

// The nine standard widths 1728, 2048, 2432 (200 dpi), 2592, 3072, 3648
// (300 dpi), 3456, 4096, 4864 (400 dpi) are the A4, B4 and A3 line lengths;
// other widths take the class of the next standard width above them.
WidthClass classifyWidth(std::int64_t width);

}  // namespace quillon
