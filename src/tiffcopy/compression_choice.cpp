#include "tiffcopy/compression_choice.h"

#include <tiffio.h>

namespace quillon {

OutputCompression outputCompressionFor(std::int32_t compressionChoice) {
    OutputCompression out;
    switch (compressionChoice) {
    case 0: out.compression = COMPRESSION_NONE; break;
    case 1: out.compression = COMPRESSION_PACKBITS; break;
    case 2:
        out.compression = COMPRESSION_CCITTFAX3;
        out.group3Options = GROUP3OPT_FILLBITS;
        break;
    case 3:
        out.compression = COMPRESSION_CCITTFAX3;
        out.group3Options = 0;
        break;
    case 4:
        out.compression = COMPRESSION_CCITTFAX3;
        out.group3Options = GROUP3OPT_2DENCODING | GROUP3OPT_FILLBITS;
        break;
    case 5:
        out.compression = COMPRESSION_CCITTFAX3;
        out.group3Options = GROUP3OPT_2DENCODING;
        break;
    case 6: out.compression = COMPRESSION_CCITTFAX4; break;
    case 7:
        out.compression = COMPRESSION_JPEG;
        out.jpegColorMode = JPEGCOLORMODE_RGB;
        break;
    case 8:
        out.compression = COMPRESSION_JPEG;
        out.jpegColorMode = JPEGCOLORMODE_RAW;
        break;
    case 9: out.compression = COMPRESSION_LZW; break;
    case 10: out.compression = COMPRESSION_ADOBE_DEFLATE; break;
    default: break;
    }
    return out;
}

}  // namespace quillon
