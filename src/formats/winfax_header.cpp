#include "formats/winfax_header.h"

#include "formats/little_endian.h"

namespace quillon {

WinFaxPageHeader WinFaxPageHeader::parse(const std::uint8_t (&bytes)[kSize]) {
    WinFaxPageHeader h;
    h.signature = bytes[0] == 0x0B && bytes[1] == 0x23;
    h.width = loadU16(bytes + 3);
    h.length = loadU16(bytes + 5);
    h.coding = bytes[7];
    h.resolution = bytes[115];
    h.dataLength = static_cast<std::int32_t>(loadU32(bytes + 116));
    h.nextPosition = std::int64_t(static_cast<std::int32_t>(loadU32(bytes + 89))) +
                     static_cast<std::int32_t>(loadU32(bytes + 105)) + h.dataLength +
                     std::int64_t(bytes[113]) * bytes[114];
    return h;
}

}  // namespace quillon
