// Bytes as a TIFF file copied to Group 4 by the page copier. Every result
// must be one the copier documents, and an output said to be copied must
// open in libtiff with every image of the input. Allocations beyond the copier's limits are caught by the
// fuzzer's malloc limit (see scripts/fuzz.sh).

#include <filesystem>

#include "fuzz_targets.h"
#include "oracle.h"
#include "tiffcopy/tiff_messages.h"
#include "tiffcopy/tiff_page_copier.h"

namespace quillon::fuzz {

int tiffCopy(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (routeTiffMessages(TiffMessageTarget::discard), true);
    (void)quiet;
    const std::string input = scratchFolder() + "in.tif";
    const std::string output = scratchFolder() + "out.tif";
    writeBytes(input, data, size);
    const int result = copyTiff(input, output, CopyOptions{});
    expect(result == copyTiffDone || result == copyTiffImageFailed || result == copyTiffInputFailed,
           "result " + std::to_string(result));
    if (result == copyTiffDone) {
        const int images = tiffImageCount(output);
        expect(images >= 1, "a copied output that libtiff cannot open");
        expect(images == tiffImageCount(input), "a copy said complete holds " + std::to_string(images) + " images");
    }
    std::filesystem::remove(input);
    std::filesystem::remove(output);
    return 0;
}

}  // namespace quillon::fuzz
