#include "tiffcopy/tiff_page_copier.h"

#include <tiffio.h>

#include "tiffcopy/compression_choice.h"
#include "tiffcopy/output_fields.h"
#include "tiffcopy/pixel_copy.h"
#include "tiffcopy/tiff_file.h"

namespace quillon {
namespace {

bool copyImage(TIFF* in, TIFF* out, const CopyOptions& options, const OutputCompression& compression) {
    return setOutputFields(in, out, options, compression) && copyPixelData(in, out) && TIFFWriteDirectory(out);
}

// Drops the directory of an image that failed, so that closing the output
// does not write it as a broken last image after the good ones: what the
// encoder still holds goes to the file (unreferenced), the change of
// compression lets the codec free its state, and a fresh directory replaces
// the failed one.
void abandonImage(TIFF* out) {
    TIFFFlushData(out);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFFreeDirectory(out);
    TIFFCreateDirectory(out);
}

}  // namespace

int copyTiff(const std::string& input, const std::string& output, const CopyOptions& options) {
    const OutputCompression compression = outputCompressionFor(options.compressionChoice);
    const TiffFile out = openTiff(output, options.append ? "a" : "w");
    if (!out) return copyTiffOutputFailed;
    // "m": read the input through the file, not a memory map, so a 1024-page
    // fax costs one strip of memory, not the size of the whole file.
    const TiffFile in = openTiff(input, "rm");
    if (!in) return copyTiffInputFailed;
    for (;;) {
        if (!copyImage(in.get(), out.get(), options, compression)) {
            abandonImage(out.get());
            return copyTiffImageFailed;
        }
        if (TIFFLastDirectory(in.get())) return copyTiffDone;
        // A next image that cannot be read is a lost page, not the end.
        if (!TIFFReadDirectory(in.get())) return copyTiffImageFailed;
    }
}

}  // namespace quillon
