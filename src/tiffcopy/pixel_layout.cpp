#include "tiffcopy/pixel_layout.h"

#include <string>

#include "tiffcopy/copy_limits.h"
#include "tiffcopy/tiff_messages.h"

namespace quillon {
namespace {

std::uint16_t planarConfig(TIFF* tif) {
    std::uint16_t config = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &config);
    return config;
}

// Subsampled YCbCr rows are blocks of several image rows; only the JPEG
// decoder (which hands out RGB) turns them into plain rows.
bool isSubsampledRawYCbCr(TIFF* in) {
    std::uint16_t photometric = 0, compression = COMPRESSION_NONE;
    TIFFGetField(in, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(in, TIFFTAG_COMPRESSION, &compression);
    if (photometric != PHOTOMETRIC_YCBCR || compression == COMPRESSION_JPEG) return false;
    std::uint16_t horizontal = 1, vertical = 1;
    TIFFGetFieldDefaulted(in, TIFFTAG_YCBCRSUBSAMPLING, &horizontal, &vertical);
    return horizontal != 1 || vertical != 1;
}

// libtiff's JPEG codec turns RGB rows into YCbCr only for contiguous samples;
// separate planes would be coded as if already subsampled, garbling the image.
bool isSeparateJpegYCbCr(TIFF* out) {
    std::uint16_t photometric = 0, compression = COMPRESSION_NONE;
    TIFFGetField(out, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(out, TIFFTAG_COMPRESSION, &compression);
    return compression == COMPRESSION_JPEG && photometric == PHOTOMETRIC_YCBCR &&
           planarConfig(out) == PLANARCONFIG_SEPARATE;
}

}  // namespace

void reportCannotCopy(TIFF* in) {
    reportTiffMessage(std::string("tiffcp: ") + TIFFFileName(in) + ": Don't know how to copy/convert image.\n");
}

bool describePixels(TIFF* in, TIFF* out, PixelLayout& layout) {
    const std::uint16_t config = planarConfig(in);
    std::uint16_t bitsPerSample = 1, samplesPerPixel = 1;
    TIFFGetFieldDefaulted(in, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(in, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    TIFFGetField(in, TIFFTAG_IMAGEWIDTH, &layout.width);
    TIFFGetField(in, TIFFTAG_IMAGELENGTH, &layout.length);
    const std::uint64_t inRowBytes = TIFFScanlineSize64(in);
    const bool knownConfig = config == PLANARCONFIG_CONTIG || config == PLANARCONFIG_SEPARATE;
    const bool sameRows = inRowBytes != 0 && inRowBytes == TIFFScanlineSize64(out);
    if (!knownConfig || planarConfig(out) != config || !sameRows || isSubsampledRawYCbCr(in) ||
        isSeparateJpegYCbCr(out)) {
        reportCannotCopy(in);
        return false;
    }
    const bool separate = config == PLANARCONFIG_SEPARATE;
    layout.planes = separate ? samplesPerPixel : 1;
    layout.bitsPerPlanePixel = bitsPerSample * (separate ? 1u : samplesPerPixel);
    layout.rowBytes = static_cast<std::size_t>(inRowBytes);

    const std::uint64_t rows = std::uint64_t{layout.length} * layout.planes;
    if (rows > maxImageRows || inRowBytes > maxCopyBufferBytes || rows * inRowBytes > maxImageBytes) {
        TIFFError(TIFFFileName(in), "Image of %u x %u pixels in %u planes is too large to copy", layout.width,
                  layout.length, static_cast<unsigned>(layout.planes));
        return false;
    }
    return true;
}

}  // namespace quillon
