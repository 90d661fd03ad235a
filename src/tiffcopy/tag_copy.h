#pragma once
// Copying single fields from one libtiff directory to another.

#include <cstdint>

#include <tiffio.h>

namespace quillon {

// Count of a field whose values come as an array (with a leading count for
// SHORT arrays).
inline constexpr std::uint16_t variableCount = 0xFFFF;

// Copies tag when the input has it set, reading and writing it as libtiff
// hands it out for type and count: SHORT with 1, 2 or 4 values or an array,
// LONG, RATIONAL (one or an array), ASCII, DOUBLE (one or an array). Any other
// type is skipped with "Data type %d is not supported, tag %d skipped.".
void copyTag(TIFF* in, TIFF* out, std::uint32_t tag, std::uint16_t count, TIFFDataType type);

// The descriptive fields that pass unchanged: NewSubfileType, Thresholding,
// the names and texts, resolutions, positions, colour descriptions, sample
// formats and ranges, ExtraSamples and so on.
void copyDescriptiveTags(TIFF* in, TIFF* out);

// TransferFunction (up to 4 samples per pixel) and ColorMap. Both hold one
// table of 2^BitsPerSample values per channel, so they are copied only when
// the output has the same BitsPerSample and channel count as the input.
void copyValueTables(TIFF* in, TIFF* out);

// ICC profile, NumberOfInks with InkNames, and PageNumber.
void copyProfileInksAndPageNumber(TIFF* in, TIFF* out);

}  // namespace quillon
