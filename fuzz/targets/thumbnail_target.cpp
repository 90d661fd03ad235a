// Bytes as a fax file through the file manager's thumbnailer: format
// detection by the name, the reader and one decode of the first page with
// data into the small image. Either an image of at most the size asked for
// each way, of one byte a pixel, or the reason there is none.

#include <filesystem>

#include "fuzz_targets.h"
#include "oracle.h"
#include "tiff/tiff_messages.h"
#include "view/page_thumbnail.h"

namespace quillon::fuzz {

int thumbnail(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const bool quiet = (routeTiffMessages(TiffMessageTarget::discard), true);
    (void)quiet;
    // Byte 0: bits 0-2 the name's extension, bits 3-7 the size (8 to 256).
    static constexpr const char* kNames[] = {"in.fxd", "in.tif", "in.dcx", "in.cals",
                                             "in.g3n", "in.g3f", "in.bmp", "in.fxs"};
    const std::string source = scratchFolder() + kNames[data[0] & 7];
    const std::uint32_t most = 8u * ((data[0] >> 3) + 1);
    writeBytes(source, data + 1, size - 1);
    GrayImage image;
    std::string problem;
    if (faxThumbnail(source, most, image, problem)) {
        expect(problem.empty(), "a thumbnail with a problem: " + problem);
        expect(image.width >= 1 && image.rows >= 1 && image.width <= most && image.rows <= most,
               "a thumbnail of " + std::to_string(image.width) + " by " + std::to_string(image.rows) +
                   " pixels, asked for at most " + std::to_string(most));
        expect(image.pixels.size() == std::size_t(image.width) * image.rows, "pixels that are not the image's");
    } else {
        expect(!problem.empty(), "no thumbnail and no reason");
    }
    std::filesystem::remove(source);
    return 0;
}

}  // namespace quillon::fuzz
