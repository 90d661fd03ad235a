#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

// The fields of one TIFF page that a conversion must get right.
struct TiffPageInfo {
    std::uint32_t width = 0;
    std::uint32_t rows = 0;
    std::uint16_t compression = 0;
    std::uint16_t fillOrder = 0;
    float xResolution = 0;
    float yResolution = 0;
    std::uint16_t pageIndex = 0;
    std::uint16_t pageCount = 0;
    std::string software;
    // The further fields of a fax page; -1 where the page has none.
    std::int64_t subfileType = -1;
    std::int64_t photometric = -1;
    std::int64_t orientation = -1;
    std::int64_t resolutionUnit = -1;
    std::int64_t bitsPerSample = -1;
    std::int64_t samplesPerPixel = -1;
    std::int64_t planarConfig = -1;
    std::int64_t group4Options = -1;
    bool hasDateTime = false;

    bool operator==(const TiffPageInfo&) const = default;
};

// Every page of a TIFF file; empty when libtiff cannot open it.
std::vector<TiffPageInfo> readTiffInfo(const std::string& path);

}  // namespace quillon::test
