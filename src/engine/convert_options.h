#pragma once
// The conversion options that every engine receives as its own copy.

#include <cstdint>
#include <string>

namespace quillon {

struct ConvertOptions {
    std::uint16_t pageCount = 0;       // set by the engine in its own copy
    std::string bitmapWorkFile;        // work files, deleted when the process ends
    std::string segmentIndexWorkFile;
    std::string intermediateTiffPath;
    std::uint16_t threshold = 50;      // carried for other readers; no WinFax route reads it
    std::uint8_t flagNum = 3;
    std::uint8_t bitOrder = 0;         // "/b="
    std::uint16_t verticalResolution = 0;  // "/v="
    std::uint8_t supportNonStandardWidth = 1;
    std::uint16_t minWidth = 300;
    std::uint8_t pageMode = 0;         // 1: one TIFF file per page; any other value: one file
    std::uint8_t rawStart = 0;         // "/raw"
    std::uint8_t recountLines = 0;     // "/relines": decode every page to count its rows

    bool splitPages() const { return pageMode == 1; }
};

}  // namespace quillon
