#pragma once
// Writes pages that are already coded as Group 4 strips into a TIFF file
// through libtiff, with the fields the page copier gives a fax page: the
// direct road of WinFax pages writes its final files with it.

#include <cstdint>
#include <span>
#include <string>

using TIFF = struct tiff;

namespace quillon {

// The fields of one page besides its strips and its length.
struct G4PageFields {
    std::uint32_t width = 0;
    std::uint32_t rowsPerStrip = 1;
    bool msbFirst = false;  // FillOrder 1 instead of 2
    float xResolution = 0;
    float yResolution = 0;
    std::uint16_t pageIndex = 0;
    std::uint16_t pageCount = 1;
    // Group4Options 0 is written for pages that were T.6 coded before, as the
    // copier carries the field over from such pages only.
    bool group4Options = false;
    std::string software;
    std::string dateTime;  // "YYYY:MM:DD HH:MM:SS"
};

class G4TiffOutput {
public:
    G4TiffOutput() = default;
    ~G4TiffOutput();
    G4TiffOutput(const G4TiffOutput&) = delete;
    G4TiffOutput& operator=(const G4TiffOutput&) = delete;

    // Creates (or truncates) the file; false when it cannot be opened.
    bool open(const std::string& path);
    // Each page: beginPage, its strips in order (rowsPerStrip rows each, the
    // last one the rest), then endPage with the page's rows. False on failure.
    bool beginPage(const G4PageFields& fields);
    bool writeStrip(std::span<const std::uint8_t> strip);
    bool endPage(std::uint32_t rows);
    // False when the file could not be finished; the file is closed either way.
    bool close();

private:
    TIFF* tif_ = nullptr;
    std::uint32_t strips_ = 0;  // written on the current page
    bool failed_ = false;
};

}  // namespace quillon
