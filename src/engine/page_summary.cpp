#include "engine/page_summary.h"

namespace quillon {

const char* pageStateName(PageState state) {
    switch (state) {
        case PageState::Ok: return "ok";
        case PageState::Empty: return "empty";
        case PageState::Damaged: return "damaged";
        case PageState::Cut: return "cut";
        case PageState::LeftOut: break;
    }
    return "left-out";
}

const char* codingName(ImageCoding coding) {
    switch (coding) {
        case ImageCoding::ModifiedHuffman:
        case ImageCoding::ModifiedHuffmanWord: return "MH";
        case ImageCoding::T4OneDimensional: return "T.4-1D";
        case ImageCoding::T4TwoDimensional: return "T.4-2D";
        case ImageCoding::T6: return "T.6";
        case ImageCoding::Uncompressed: return "none";
        case ImageCoding::Lzw: return "LZW";
        case ImageCoding::OtherTiff: return "other";
        case ImageCoding::PcxRunLength: return "PCX-RLE";
        case ImageCoding::PackBits: break;
    }
    return "PackBits";
}

}  // namespace quillon
