#pragma once
// The conversion options that every engine receives as its own copy.

#include <cstdint>

namespace quillon {

struct ConvertOptions {
    std::uint8_t pageMode = 0;      // "/m=": 1 one output file per page; any other value one file
    std::uint8_t recountLines = 0;  // "/relines": decode every page to count its rows
    bool fingerprintPages = false;  // "/report=": each page's SHA-256 (engine/page_fingerprint.h)
    // "/raw", "/b=" and "/v=" are recorded here for readers of other fax
    // formats (raw data without a header); no WinFax page reads them.
    std::uint8_t rawStart = 0;
    std::uint8_t bitOrder = 0;
    std::uint16_t verticalResolution = 0;

    bool splitPages() const { return pageMode == 1; }
};

}  // namespace quillon
