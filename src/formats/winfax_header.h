#pragma once
// The 128-byte page header that starts every page of a WinFax file.

#include <cstddef>
#include <cstdint>

namespace quillon {

struct WinFaxPageHeader {
    static constexpr std::size_t kSize = 128;
    static constexpr std::uint16_t kDefaultWidth = 1728;
    static constexpr std::uint16_t kDefaultLength = 3432;

    bool signature = false;       // bytes 0x0B 0x23
    std::uint16_t width = 0;      // 0 stands for kDefaultWidth
    std::uint16_t length = 0;     // scan lines; 0 stands for kDefaultLength
    std::uint8_t coding = 0;      // 0: T.4 one-dimensional with EOL; other values: T.6
    std::uint8_t resolution = 0;  // 0: 100 lpi, 1: 200 lpi, other values: 400 lpi
    std::int32_t dataLength = 0;  // bytes of page data after the header, as stored
    // Where the next page header lies: the sum of the 32-bit values at 89,
    // 105 and 116 and the product of the bytes at 113 and 114. It does not
    // depend on where this header stands.
    std::int64_t nextPosition = 0;

    static WinFaxPageHeader parse(const std::uint8_t (&bytes)[kSize]);

    bool isT6() const { return coding != 0; }
    std::uint16_t yResolution() const { return resolution == 0 ? 100 : resolution == 1 ? 200 : 400; }
};

}  // namespace quillon
