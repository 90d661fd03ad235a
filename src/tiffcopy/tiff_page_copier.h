#pragma once
// The TiffPageCopier: copies every image of a TIFF file into another TIFF
// file through libtiff, recompressing the pixels (CCITT Group 4 for the
// conversion job) by the copy rules of libtiff's tiffcp.

#include <string>

#include "tiffcopy/copy_options.h"

namespace quillon {

// Results of copyTiff.
inline constexpr int copyTiffDone = 0;
inline constexpr int copyTiffImageFailed = 1;
inline constexpr int copyTiffOutputFailed = -2;
inline constexpr int copyTiffInputFailed = -3;

// Copies every image of input into output and returns:
//  0  every image was copied;
//  1  copying an image or writing its directory failed, or the chain of
//     images broke off; the output is closed with what was written;
// -2  the output cannot be opened (nothing else happens);
// -3  the input cannot be opened; the output exists and holds no image.
// Paths are taken as they are (no "input,1,3" image lists). The output is
// written in place: callers that must not leave a partial file write to a
// temporary name and rename. With options.append the output keeps its images.
int copyTiff(const std::string& input, const std::string& output, const CopyOptions& options);

}  // namespace quillon
