#include "tiffcopy/tag_copy.h"

#include <cstring>

namespace quillon {
namespace {

struct TagToCopy {
    std::uint32_t tag;
    std::uint16_t count;
    TIFFDataType type;
};

// ExtraSamples comes first: the channel count of TransferFunction depends on it.
constexpr TagToCopy descriptiveTags[] = {
    {TIFFTAG_EXTRASAMPLES, variableCount, TIFF_SHORT},
    {TIFFTAG_SUBFILETYPE, 1, TIFF_LONG},
    {TIFFTAG_THRESHHOLDING, 1, TIFF_SHORT},
    {TIFFTAG_DOCUMENTNAME, 1, TIFF_ASCII},
    {TIFFTAG_IMAGEDESCRIPTION, 1, TIFF_ASCII},
    {TIFFTAG_MAKE, 1, TIFF_ASCII},
    {TIFFTAG_MODEL, 1, TIFF_ASCII},
    {TIFFTAG_MINSAMPLEVALUE, 1, TIFF_SHORT},
    {TIFFTAG_MAXSAMPLEVALUE, 1, TIFF_SHORT},
    {TIFFTAG_XRESOLUTION, 1, TIFF_RATIONAL},
    {TIFFTAG_YRESOLUTION, 1, TIFF_RATIONAL},
    {TIFFTAG_PAGENAME, 1, TIFF_ASCII},
    {TIFFTAG_XPOSITION, 1, TIFF_RATIONAL},
    {TIFFTAG_YPOSITION, 1, TIFF_RATIONAL},
    {TIFFTAG_RESOLUTIONUNIT, 1, TIFF_SHORT},
    {TIFFTAG_SOFTWARE, 1, TIFF_ASCII},
    {TIFFTAG_DATETIME, 1, TIFF_ASCII},
    {TIFFTAG_ARTIST, 1, TIFF_ASCII},
    {TIFFTAG_HOSTCOMPUTER, 1, TIFF_ASCII},
    {TIFFTAG_WHITEPOINT, variableCount, TIFF_RATIONAL},
    {TIFFTAG_PRIMARYCHROMATICITIES, variableCount, TIFF_RATIONAL},
    {TIFFTAG_HALFTONEHINTS, 2, TIFF_SHORT},
    {TIFFTAG_INKSET, 1, TIFF_SHORT},
    {TIFFTAG_DOTRANGE, 2, TIFF_SHORT},
    {TIFFTAG_TARGETPRINTER, 1, TIFF_ASCII},
    {TIFFTAG_SAMPLEFORMAT, 1, TIFF_SHORT},
    {TIFFTAG_YCBCRCOEFFICIENTS, variableCount, TIFF_RATIONAL},
    {TIFFTAG_YCBCRSUBSAMPLING, 2, TIFF_SHORT},
    {TIFFTAG_YCBCRPOSITIONING, 1, TIFF_SHORT},
    {TIFFTAG_REFERENCEBLACKWHITE, variableCount, TIFF_RATIONAL},
    {TIFFTAG_SMINSAMPLEVALUE, 1, TIFF_DOUBLE},
    {TIFFTAG_SMAXSAMPLEVALUE, 1, TIFF_DOUBLE},
    {TIFFTAG_STONITS, 1, TIFF_DOUBLE},
};

void copyShortTag(TIFF* in, TIFF* out, std::uint32_t tag, std::uint16_t count) {
    if (count == 1) {
        std::uint16_t value = 0;
        if (TIFFGetField(in, tag, &value)) TIFFSetField(out, tag, value);
    } else if (count == 2) {
        std::uint16_t first = 0, second = 0;
        if (TIFFGetField(in, tag, &first, &second)) TIFFSetField(out, tag, first, second);
    } else if (count == 4) {
        std::uint16_t* tables[4] = {};
        if (TIFFGetField(in, tag, &tables[0], &tables[1], &tables[2], &tables[3]))
            TIFFSetField(out, tag, tables[0], tables[1], tables[2], tables[3]);
    } else if (count == variableCount) {
        std::uint16_t length = 0;
        std::uint16_t* values = nullptr;
        if (TIFFGetField(in, tag, &length, &values)) TIFFSetField(out, tag, length, values);
    }
}

template <typename Value>
void copyScalarOrArrayTag(TIFF* in, TIFF* out, std::uint32_t tag, std::uint16_t count) {
    if (count == 1) {
        Value value{};
        if (TIFFGetField(in, tag, &value)) TIFFSetField(out, tag, value);
    } else if (count == variableCount) {
        Value* values = nullptr;
        if (TIFFGetField(in, tag, &values)) TIFFSetField(out, tag, values);
    }
}

// Number of colour channels a TransferFunction has for this directory: 1 or 3.
int transferChannels(TIFF* tif) {
    std::uint16_t samples = 1, extraCount = 0;
    std::uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    return samples - extraCount > 1 ? 3 : 1;
}

std::uint16_t bitsPerSample(TIFF* tif) {
    std::uint16_t bits = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    return bits;
}

std::uint16_t samplesPerPixel(TIFF* tif) {
    std::uint16_t samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    return samples;
}

}  // namespace

void copyTag(TIFF* in, TIFF* out, std::uint32_t tag, std::uint16_t count, TIFFDataType type) {
    switch (type) {
    case TIFF_SHORT: copyShortTag(in, out, tag, count); break;
    case TIFF_LONG: {
        std::uint32_t value = 0;
        if (TIFFGetField(in, tag, &value)) TIFFSetField(out, tag, value);
        break;
    }
    case TIFF_RATIONAL: copyScalarOrArrayTag<float>(in, out, tag, count); break;
    case TIFF_ASCII: {
        char* text = nullptr;
        if (TIFFGetField(in, tag, &text)) TIFFSetField(out, tag, text);
        break;
    }
    case TIFF_DOUBLE: copyScalarOrArrayTag<double>(in, out, tag, count); break;
    default:
        TIFFError(TIFFFileName(in), "Data type %d is not supported, tag %d skipped.", static_cast<int>(type),
                  static_cast<int>(tag));
    }
}

void copyDescriptiveTags(TIFF* in, TIFF* out) {
    for (const TagToCopy& entry : descriptiveTags) copyTag(in, out, entry.tag, entry.count, entry.type);
}

void copyValueTables(TIFF* in, TIFF* out) {
    if (bitsPerSample(in) != bitsPerSample(out)) return;
    if (samplesPerPixel(in) <= 4 && transferChannels(in) == transferChannels(out))
        copyTag(in, out, TIFFTAG_TRANSFERFUNCTION, 4, TIFF_SHORT);
    copyTag(in, out, TIFFTAG_COLORMAP, 4, TIFF_SHORT);
}

void copyProfileInksAndPageNumber(TIFF* in, TIFF* out) {
    std::uint32_t profileLength = 0;
    void* profile = nullptr;
    if (TIFFGetField(in, TIFFTAG_ICCPROFILE, &profileLength, &profile))
        TIFFSetField(out, TIFFTAG_ICCPROFILE, profileLength, profile);

    std::uint16_t inks = 0;
    if (TIFFGetField(in, TIFFTAG_NUMBEROFINKS, &inks)) {
        TIFFSetField(out, TIFFTAG_NUMBEROFINKS, inks);
        const char* names = nullptr;
        if (TIFFGetField(in, TIFFTAG_INKNAMES, &names)) {
            // libtiff accepts InkNames only when it holds NumberOfInks
            // NUL-terminated names, so walking that many stays inside it.
            std::size_t length = 0;
            for (std::uint16_t ink = 0; ink < inks; ++ink) length += std::strlen(names + length) + 1;
            TIFFSetField(out, TIFFTAG_INKNAMES, static_cast<int>(length), names);
        }
    }

    std::uint16_t page = 0, pages = 0;
    if (TIFFGetField(in, TIFFTAG_PAGENUMBER, &page, &pages)) TIFFSetField(out, TIFFTAG_PAGENUMBER, page, pages);
}

}  // namespace quillon
