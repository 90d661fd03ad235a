#pragma once
// Builds WinFax files for tests: a chain of 128-byte page headers, each
// followed by its coded page data, with every header field under control.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/fax_page_encoder.h"
#include "support/pixel_hash.h"

namespace quillon::test {

struct WinFaxPage {
    std::vector<std::uint8_t> data;  // coded page data, least significant bit first
    std::uint16_t width = 1728;      // header value; 0 stands for 1728
    std::uint16_t length = 0;        // header value; 0 stands for 3432
    std::uint8_t coding = 0;         // 0: T.4 one-dimensional with EOL; other values: T.6
    std::uint8_t resolution = 1;     // 0: 100 lpi, 1: 200 lpi, other values: 400 lpi
    std::string text;                // page text at offset 9 (at most 79 bytes)
    // Header value at offset 116; by default the size of data.
    std::optional<std::int32_t> dataLength;
    // Bytes between the data and the next page header.
    std::vector<std::uint8_t> trailing;
    // Terms of the next page position (offsets 89, 105, 113, 114). Unset
    // terms are chosen so that the position is the next page's header, or,
    // on the last page, the end of the file.
    std::optional<std::int32_t> term89;
    std::optional<std::int32_t> term105;
    std::uint8_t factor113 = 0;
    std::uint8_t factor114 = 0;
};

// The 128-byte header of a page that stands at `position`.
std::string winFaxHeader(const WinFaxPage& page, std::int64_t position);
// The whole file: each page's header, data and trailing bytes in turn.
std::string buildWinFaxFile(const std::vector<WinFaxPage>& pages);

// A page coded from a bitmap (1 = black), its header giving the bitmap's size.
WinFaxPage winFaxPageFromBitmap(const Bitmap& bitmap, FaxPageCoding coding, std::uint8_t resolution = 1);

}  // namespace quillon::test
