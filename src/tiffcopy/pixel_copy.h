#pragma once
// Copying the pixel data of one image: decoded with the input's codec,
// encoded with the output's.

#include <tiffio.h>

namespace quillon {

// Copies the current input image's pixels into the current output image,
// whose fields are already set, choosing the routine that fits strips or
// tiles on either side and the planar configuration. Read errors inside the
// pixel data are passed over; false when no routine fits, the image exceeds
// the copy limits or writing fails.
bool copyPixelData(TIFF* in, TIFF* out);

}  // namespace quillon
