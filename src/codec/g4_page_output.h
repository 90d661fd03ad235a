#pragma once
// Where the Group 4 page pipeline (engine/page_pipeline.h) puts the pages
// it codes: a TIFF file (G4TiffOutput) or the pages of a PDF (G4PageSpool).

#include <cstdint>
#include <span>

namespace quillon {

// The fields of one page besides its strips and its length.
struct G4PageFields {
    std::uint32_t width = 0;
    std::uint32_t rowsPerStrip = 1;
    bool msbFirst = false;  // FillOrder 1 instead of 2
    float xResolution = 0;  // dots per inch
    float yResolution = 0;
    std::uint16_t pageIndex = 0;
    std::uint16_t pageCount = 1;
    // Group4Options 0 is written for pages that were T.6 coded in the
    // source (and the white pages that stand for pages without data).
    bool group4Options = false;
};

class G4PageOutput {
public:
    virtual ~G4PageOutput() = default;
    // Each page: beginPage, its strips in order (rowsPerStrip rows each, the
    // last one the rest), then endPage with the page's rows. False on failure.
    virtual bool beginPage(const G4PageFields& fields) = 0;
    virtual bool writeStrip(std::span<const std::uint8_t> strip) = 0;
    virtual bool endPage(std::uint32_t rows) = 0;
};

}  // namespace quillon
