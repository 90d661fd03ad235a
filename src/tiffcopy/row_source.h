#pragma once
// Decoded rows of the input image, one plane after the other, from strips
// or tiles.

#include <cstdint>
#include <memory>

#include <tiffio.h>

#include "tiffcopy/pixel_layout.h"

namespace quillon {

class RowSource {
public:
    virtual ~RowSource() = default;
    // Fills row (layout.rowBytes, zeroed by the caller) with image row `row`
    // of plane `plane`. Read errors are not fatal: what the codec could not
    // deliver stays as it is and the copy goes on.
    virtual void readRow(std::uint32_t row, std::uint16_t plane, std::uint8_t* rowData) = 0;
};

// A source for the input's strips or tiles; null (with a message) when the
// tiles cannot be read as rows.
std::unique_ptr<RowSource> makeRowSource(TIFF* in, const PixelLayout& layout);

}  // namespace quillon
