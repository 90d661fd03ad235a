#include "oracle.h"

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/private_temp_folder.h"

namespace quillon::fuzz {

void oracleFailed(const std::string& what) {
    std::fprintf(stderr, "oracle failed: %s\n", what.c_str());
    std::abort();
}

const std::string& scratchFolder() {
    const std::string& folder = platform::privateTempFolder();
    expect(!folder.empty(), "no private temporary folder");
    return folder;
}

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    expect(bool(out.flush()), "cannot write " + path);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int tiffImageCount(const std::string& path) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return -1;
    // Walked as a reader (and the copier) walks them: TIFFNumberOfDirectories
    // gives 0 for a file whose link after its last image cannot be read.
    int count = 1;
    while (TIFFReadDirectory(tif)) ++count;
    TIFFClose(tif);
    return count;
}

}  // namespace quillon::fuzz
