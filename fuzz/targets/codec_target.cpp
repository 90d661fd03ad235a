// Feeds arbitrary bytes to the fax page decoders. The first six bytes choose
// the decoding; the rest is the coded data.
//   byte 0: bits 0-2 coding (0..3: schemes 3..6, otherwise T.6), bit 3 fill
//           order 2, bit 4 raw start, bit 5 count only, bit 6 invert
//   bytes 1-2: width - 1 (little-endian, capped to 5000)
//   bytes 3-4: max rows (capped to 4000)
//   byte 5: bits 0-1 T.6 flag count, bits 2-3 first start search mode, bit 4 options bit 0

#include <cstddef>
#include <cstdint>

#include "codec/fax_decoder.h"
#include "fuzz_targets.h"
#include "oracle.h"

namespace quillon::fuzz {

int decoderRobustness(const std::uint8_t* bytes, std::size_t size) {
    constexpr std::size_t kHeader = 6;
    if (size < kHeader) return 0;
    const std::uint8_t choice = bytes[0];
    const std::int32_t width = 1 + (bytes[1] | (bytes[2] << 8)) % 5000;
    const std::int32_t maxRows = (bytes[3] | (bytes[4] << 8)) % 4001;
    const std::uint8_t t6 = bytes[5];
    const std::uint8_t* data = bytes + kHeader;
    const auto length = static_cast<std::int32_t>(size - kHeader);
    const std::uint8_t fillOrder = (choice & 0x08) ? 2 : 1;
    const std::uint8_t invert = (choice >> 6) & 1;
    const int coding = choice & 0x07;

    FaxDecoder decoder;
    FaxImage image;
    if (coding < 4) {
        decoder.initDecoder(data, length, fillOrder, static_cast<ImageCoding>(3 + coding), invert);
    } else {
        decoder.initDecoderT6(data, length, fillOrder, (t6 >> 4) & 1, invert, t6 & 3);
        decoder.setRawStart(choice & 0x10);
    }
    decoder.setGeometry(width, maxRows);
    decoder.setCountOnly(choice & 0x20);
    bool decoded = false;
    if (coding < 4) {
        decoded = decoder.decodePage(image) == PageStatus::Decoded;
    } else if (decoder.findT6Start(static_cast<quillon::T6Search>((t6 >> 2) % 3)) == LoadStatus::Loaded) {
        decoded = decoder.decodePageT6(image) == PageStatus::Decoded;
    }
    // The record must describe the bitmap it holds.
    expect(image.rows <= std::uint32_t(maxRows), "more rows than asked for");
    expect((choice & 0x20) || !decoded || image.bitmap.size() == std::size_t(image.rows) * image.bytesPerRow,
           "the bitmap does not hold the rows the record gives");
    return 0;
}

}  // namespace quillon::fuzz
