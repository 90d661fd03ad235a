#include "tiffcopy/output_fields.h"

#include "tiffcopy/tag_copy.h"

namespace quillon {
namespace {

struct InputImage {
    std::uint32_t length = 0;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t compression = COMPRESSION_NONE;
    std::uint16_t photometric = PHOTOMETRIC_MINISWHITE;
};

std::uint16_t outputPhotometric(const InputImage& input, std::uint16_t compression, int jpegColorMode) {
    if (compression == COMPRESSION_JPEG) {
        if (input.photometric == PHOTOMETRIC_RGB && jpegColorMode == JPEGCOLORMODE_RGB) return PHOTOMETRIC_YCBCR;
        return input.photometric;
    }
    if (compression == COMPRESSION_SGILOG || compression == COMPRESSION_SGILOG24)
        return input.samplesPerPixel == 1 ? PHOTOMETRIC_LOGL : PHOTOMETRIC_LOGLUV;
    // A JPEG input is read as RGB (see setOutputFields); calling it YCbCr
    // would mislabel every pixel.
    if (input.compression == COMPRESSION_JPEG && input.samplesPerPixel == 3) return PHOTOMETRIC_RGB;
    return input.photometric;
}

void setLayout(TIFF* in, TIFF* out, const CopyOptions& options, std::uint32_t length) {
    const bool tiled = options.tiledOutput == -1 ? TIFFIsTiled(in) != 0 : options.tiledOutput != 0;
    if (tiled) {
        std::uint32_t tileWidth = 0, tileLength = 0;
        TIFFGetField(in, TIFFTAG_TILEWIDTH, &tileWidth);
        TIFFGetField(in, TIFFTAG_TILELENGTH, &tileLength);
        TIFFDefaultTileSize(out, &tileWidth, &tileLength);
        TIFFSetField(out, TIFFTAG_TILEWIDTH, tileWidth);
        TIFFSetField(out, TIFFTAG_TILELENGTH, tileLength);
        return;
    }
    std::uint32_t rowsPerStrip = 0;
    if (options.stripPerImage)
        rowsPerStrip = length;
    else if (!TIFFGetField(in, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip))
        rowsPerStrip = TIFFDefaultStripSize(out, 0);
    if (rowsPerStrip > length && rowsPerStrip != UINT32_MAX) rowsPerStrip = length;
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
}

void setCompressionSettings(TIFF* in, TIFF* out, const CopyOptions& options, const OutputCompression& choice,
                            std::uint16_t compression) {
    switch (compression) {
    case COMPRESSION_JPEG:
        TIFFSetField(out, TIFFTAG_JPEGQUALITY, options.jpegQuality);
        TIFFSetField(out, TIFFTAG_JPEGCOLORMODE, choice.jpegColorMode);
        break;
    case COMPRESSION_LZW:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        copyTag(in, out, TIFFTAG_PREDICTOR, 1, TIFF_SHORT);
        break;
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        if (compression == COMPRESSION_CCITTFAX4)
            copyTag(in, out, TIFFTAG_GROUP4OPTIONS, 1, TIFF_LONG);
        else if (choice.group3Options >= 0)
            TIFFSetField(out, TIFFTAG_GROUP3OPTIONS, static_cast<std::uint32_t>(choice.group3Options));
        else
            copyTag(in, out, TIFFTAG_GROUP3OPTIONS, 1, TIFF_LONG);
        copyTag(in, out, TIFFTAG_BADFAXLINES, 1, TIFF_LONG);
        copyTag(in, out, TIFFTAG_CLEANFAXDATA, 1, TIFF_SHORT);
        copyTag(in, out, TIFFTAG_CONSECUTIVEBADFAXLINES, 1, TIFF_LONG);
        copyTag(in, out, TIFFTAG_FAXRECVPARAMS, 1, TIFF_LONG);
        copyTag(in, out, TIFFTAG_FAXRECVTIME, 1, TIFF_LONG);
        copyTag(in, out, TIFFTAG_FAXSUBADDRESS, 1, TIFF_ASCII);
        break;
    default: break;
    }
}

}  // namespace

std::uint16_t outputOrientation(std::uint16_t inputOrientation, const char* module) {
    switch (inputOrientation) {
    case ORIENTATION_TOPLEFT:
    case ORIENTATION_BOTLEFT:
    case ORIENTATION_LEFTTOP:
    case ORIENTATION_LEFTBOT:
        return inputOrientation;
    case ORIENTATION_BOTRIGHT:
    case ORIENTATION_RIGHTBOT:
        TIFFWarning(module, "using bottom-left orientation");
        return ORIENTATION_BOTLEFT;
    default:
        TIFFWarning(module, "using top-left orientation");
        return ORIENTATION_TOPLEFT;
    }
}

bool setOutputFields(TIFF* in, TIFF* out, const CopyOptions& options, const OutputCompression& choice) {
    InputImage input;
    copyTag(in, out, TIFFTAG_IMAGEWIDTH, 1, TIFF_LONG);
    copyTag(in, out, TIFFTAG_IMAGELENGTH, 1, TIFF_LONG);
    copyTag(in, out, TIFFTAG_BITSPERSAMPLE, 1, TIFF_SHORT);
    copyTag(in, out, TIFFTAG_SAMPLESPERPIXEL, 1, TIFF_SHORT);
    TIFFGetField(in, TIFFTAG_IMAGELENGTH, &input.length);
    TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLESPERPIXEL, &input.samplesPerPixel);
    if (!TIFFGetFieldDefaulted(in, TIFFTAG_COMPRESSION, &input.compression) ||
        !TIFFGetField(in, TIFFTAG_PHOTOMETRIC, &input.photometric))
        return false;

    const std::uint16_t compression = choice.compression != 0 ? choice.compression : input.compression;
    if (!TIFFSetField(out, TIFFTAG_COMPRESSION, compression)) return false;
    // The JPEG decoder hands out RGB, whatever colour space the file holds.
    if (input.compression == COMPRESSION_JPEG) TIFFSetField(in, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, outputPhotometric(input, compression, choice.jpegColorMode));

    if (options.fillOrder != 0)
        TIFFSetField(out, TIFFTAG_FILLORDER, options.fillOrder);
    else
        copyTag(in, out, TIFFTAG_FILLORDER, 1, TIFF_SHORT);

    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(in, TIFFTAG_ORIENTATION, &orientation);
    TIFFSetField(out, TIFFTAG_ORIENTATION, outputOrientation(orientation, TIFFFileName(in)));

    setLayout(in, out, options, input.length);
    copyTag(in, out, TIFFTAG_PLANARCONFIG, 1, TIFF_SHORT);
    copyDescriptiveTags(in, out);
    copyValueTables(in, out);
    setCompressionSettings(in, out, options, choice, compression);
    copyProfileInksAndPageNumber(in, out);
    return true;
}

}  // namespace quillon
