#pragma once
// Where a decoder hands each line it keeps, as it decodes, so that a page
// can be coded again row by row without a raster of the whole page.

#include <cstdint>

namespace quillon {

class LineSink {
public:
    virtual ~LineSink() = default;
    // The runs of the next kept line, first white (possibly 0); zero runs may
    // stand between others and the runs may reach past the page width (the
    // pixels there are not part of the line).
    virtual void line(const std::uint32_t* runs, std::uint32_t count) = 0;
};

}  // namespace quillon
