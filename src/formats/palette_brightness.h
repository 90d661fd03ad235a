#pragma once
// How bright a palette colour looks (ITU-R BT.601 weights): of a one-bit
// page's two palette colours, the darker is black.

#include <cstdint>

namespace quillon {

constexpr unsigned brightness(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return 299u * red + 587u * green + 114u * blue;
}
static_assert(brightness(0, 0, 0) < brightness(255, 255, 255));
static_assert(brightness(0, 255, 0) > brightness(255, 0, 0));  // green looks brighter than red

}  // namespace quillon
