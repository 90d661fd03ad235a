#pragma once
// Writes pages that are already coded as Group 4 strips into a multi-page
// TIFF file through libtiff, with the fields of a fax page: size,
// resolution, page number, fill order, the program's name and the time. The
// file goes out in one pass into a ByteSink (tiff/client_tiff.h).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "codec/g4_page_output.h"
#include "tiff/client_tiff.h"

using TIFF = struct tiff;

namespace quillon {

class G4TiffOutput final : public G4PageOutput {
public:
    G4TiffOutput() = default;
    ~G4TiffOutput() override;
    G4TiffOutput(const G4TiffOutput&) = delete;
    G4TiffOutput& operator=(const G4TiffOutput&) = delete;

    // Starts a new file into out; a description, when given, goes into
    // every page's ImageDescription.
    bool open(ByteSink& out, const std::string& description = {});
    bool beginPage(const G4PageFields& fields) override;
    bool writeStrip(std::span<const std::uint8_t> strip) override;
    bool endPage(std::uint32_t rows) override;
    // False when the file could not be finished; the file is closed either way.
    bool close();

private:
    std::optional<StreamedTiff> file_;
    TIFF* tif_ = nullptr;
    std::uint32_t strips_ = 0;  // written on the current page
    bool failed_ = false;
    std::string description_;
};

}  // namespace quillon
