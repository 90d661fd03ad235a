#pragma once
// Small helpers of the codec tests: coded bytes written as bit text, and one
// call that decodes a whole page with this codec.

#include <cstdint>
#include <string_view>
#include <vector>

#include "codec/fax_decoder.h"
#include "codec/libtiff_fax.h"

namespace quillon::test {

// Bytes from a text of '0' and '1' (other characters ignored), first bit in
// the most significant bit, the last byte padded with 0 bits.
std::vector<std::uint8_t> bitsToBytes(std::string_view bits);

struct DecodedPage {
    LoadStatus start = LoadStatus::Loaded;    // T.6: the search for the start of the data
    PageStatus status = PageStatus::Refused;  // the page decoder's, when it ran
    std::uint32_t droppedLines = 0;
    FaxImage image;

    bool decoded() const { return start == LoadStatus::Loaded && status == PageStatus::Decoded; }
    // Decoded without a line lost.
    bool whole() const { return decoded() && droppedLines == 0; }
};

// Decodes coded data in the way its coding needs: T.6 from the first byte
// (raw start), the others through decodePage. invert 1 writes black as 1 bits,
// as libtiff's decoding of a min-is-white page has it. lines, when given,
// gets every kept line.
DecodedPage decodeWithCodec(const std::vector<std::uint8_t>& coded, LibtiffCoding coding, int fillOrder,
                            std::int32_t width, std::int32_t maxRows, std::uint8_t invert = 1, bool countOnly = false,
                            LineSink* lines = nullptr);

ImageCoding schemeOf(LibtiffCoding coding);

}  // namespace quillon::test
