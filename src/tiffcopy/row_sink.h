#pragma once
// Rows of the output image, one plane after the other, written as strips
// or tiles.

#include <cstdint>
#include <memory>

#include <tiffio.h>

#include "tiffcopy/pixel_layout.h"

namespace quillon {

class RowSink {
public:
    virtual ~RowSink() = default;
    // Writes image row `row` of plane `plane`; rows of a plane come in order.
    // libtiff may byte-swap rowData in place. False when writing failed.
    virtual bool writeRow(std::uint32_t row, std::uint16_t plane, std::uint8_t* rowData) = 0;
};

// A sink for the output's strips or tiles; null (with a message) when the
// tiles cannot be written from rows.
std::unique_ptr<RowSink> makeRowSink(TIFF* out, const PixelLayout& layout);

}  // namespace quillon
