#pragma once
// The fields of one output image, taken from the input image and the copy
// options by tiffcp's rules: size, samples, compression and its settings,
// photometric, fill order, orientation, strips or tiles, planes, tables and
// the descriptive tags.

#include <cstdint>

#include <tiffio.h>

#include "tiffcopy/compression_choice.h"
#include "tiffcopy/copy_options.h"

namespace quillon {

// Sets every field of the current output directory. False when the input
// lacks a field that the copy needs or the output refuses the compression.
bool setOutputFields(TIFF* in, TIFF* out, const CopyOptions& options, const OutputCompression& compression);

// The Orientation written for an input Orientation: the mirrored ones become
// top-left or bottom-left with a libtiff warning for module.
std::uint16_t outputOrientation(std::uint16_t inputOrientation, const char* module);

}  // namespace quillon
