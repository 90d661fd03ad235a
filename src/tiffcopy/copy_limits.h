#pragma once
// Bounds that keep what an image header claims from costing memory or time
// out of proportion to the file: a few bytes may claim a 65535 x 65535 page.

#include <cstddef>
#include <cstdint>

namespace quillon {

// Largest single buffer: one decoded strip, one band of tiles, or any one
// allocation libtiff makes for the copy.
inline constexpr std::size_t maxCopyBufferBytes = std::size_t{64} << 20;
// Largest decoded strip that is copied whole; a larger one goes through row by
// row, so that a page in one strip costs a row of memory, not the page.
inline constexpr std::size_t maxWholeStripBytes = std::size_t{1} << 20;
// Largest decoded size of one image (a 1-bit 65535 x 65535 page is 512 MiB).
inline constexpr std::uint64_t maxImageBytes = std::uint64_t{1} << 30;
// Most rows (times sample planes) of one image; each costs a codec call even
// when its data is missing.
inline constexpr std::uint64_t maxImageRows = std::uint64_t{1} << 22;

}  // namespace quillon
