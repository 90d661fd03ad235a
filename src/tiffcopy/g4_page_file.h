#pragma once
// The Group 4 pages of a TIFF file written with one strip per image and the
// most significant bit first (as the direct road writes them for a PDF): each page's coded data as one
// stream, untouched, with its size and resolution (what a PDF page needs).

#include <cstdint>
#include <string>
#include <vector>

#include "tiffcopy/tiff_file.h"

namespace quillon {

struct G4Page {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    double xDpi = 0;  // dots per inch, whatever unit the file uses
    double yDpi = 0;
    bool blackIsZero = false;  // PhotometricInterpretation MinIsBlack
};

class G4PageFile {
public:
    // Opens path and reads every page's fields; ok() is false when the file
    // cannot be read or a page is no single-strip, MSB-first Group 4 image
    // with a resolution.
    explicit G4PageFile(const std::string& path);

    bool ok() const { return ok_; }
    const std::vector<G4Page>& pages() const { return pages_; }
    // Page `index`'s coded data; false when it cannot be read.
    bool readCodedData(std::size_t index, std::vector<std::uint8_t>& data);

private:
    // Where each page's strip lies: read by offset, since going back to a
    // page's directory would walk every directory before it.
    struct Strip {
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
    };

    TiffFile tiff_;
    std::vector<G4Page> pages_;
    std::vector<Strip> strips_;
    bool ok_ = false;
};

}  // namespace quillon
