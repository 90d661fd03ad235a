#include "codec/codec_test_util.h"

namespace quillon::test {

std::vector<std::uint8_t> bitsToBytes(std::string_view bits) {
    std::vector<std::uint8_t> bytes;
    int used = 8;
    for (const char c : bits) {
        if (c != '0' && c != '1') continue;
        if (used == 8) {
            bytes.push_back(0);
            used = 0;
        }
        if (c == '1') bytes.back() |= std::uint8_t(0x80 >> used);
        ++used;
    }
    return bytes;
}

ImageCoding schemeOf(LibtiffCoding coding) {
    switch (coding) {
        case LibtiffCoding::ModifiedHuffman: return ImageCoding::ModifiedHuffman;
        case LibtiffCoding::ModifiedHuffmanWord: return ImageCoding::ModifiedHuffmanWord;
        case LibtiffCoding::T4OneDimensional:
        case LibtiffCoding::T4OneDimensionalFill: return ImageCoding::T4OneDimensional;
        case LibtiffCoding::T4TwoDimensional: return ImageCoding::T4TwoDimensional;
        case LibtiffCoding::T6: break;
    }
    return ImageCoding::T6;
}

DecodedPage decodeWithCodec(const std::vector<std::uint8_t>& coded, LibtiffCoding coding, int fillOrder,
                            std::int32_t width, std::int32_t maxRows, std::uint8_t invert, bool countOnly,
                            LineSink* lines) {
    DecodedPage page;
    FaxDecoder decoder;
    const auto length = std::int32_t(coded.size());
    if (coding == LibtiffCoding::T6) {
        decoder.initDecoderT6(coded.data(), length, std::uint8_t(fillOrder), 0, invert, 0);
        decoder.setRawStart(true);
    } else {
        decoder.initDecoder(coded.data(), length, std::uint8_t(fillOrder), schemeOf(coding), invert);
    }
    decoder.setGeometry(width, maxRows);
    decoder.setCountOnly(countOnly);
    decoder.setLineSink(lines);
    if (coding == LibtiffCoding::T6) {
        page.start = decoder.findT6Start(T6Search::FromFirstByte);
        if (page.start == LoadStatus::Loaded) page.status = decoder.decodePageT6(page.image);
    } else {
        page.status = decoder.decodePage(page.image);
    }
    page.droppedLines = decoder.droppedLines();
    return page;
}

}  // namespace quillon::test
