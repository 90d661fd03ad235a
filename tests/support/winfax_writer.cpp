#include "support/winfax_writer.h"

#include <algorithm>

namespace quillon::test {

namespace {

constexpr std::size_t kHeaderSize = 128;

void put16(std::string& at, std::size_t offset, std::uint16_t value) {
    at[offset] = static_cast<char>(value & 0xFF);
    at[offset + 1] = static_cast<char>(value >> 8);
}

void put32(std::string& at, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) at[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

}  // namespace

std::string winFaxHeader(const WinFaxPage& page, std::int64_t position) {
    std::string header(kHeaderSize, '\0');
    header[0] = 0x0B;
    header[1] = 0x23;
    put16(header, 3, page.width);
    put16(header, 5, page.length);
    header[7] = static_cast<char>(page.coding);
    header.replace(9, std::min<std::size_t>(page.text.size(), 79), page.text.substr(0, 79));
    const std::int32_t dataLength = page.dataLength.value_or(static_cast<std::int32_t>(page.data.size()));
    const std::int64_t next = position + std::int64_t(kHeaderSize + page.data.size() + page.trailing.size());
    const std::int32_t term89 = page.term89.value_or(static_cast<std::int32_t>(position));
    const std::int64_t product = std::int64_t(page.factor113) * page.factor114;
    const std::int32_t term105 =
        page.term105.value_or(static_cast<std::int32_t>(next - term89 - dataLength - product));
    put32(header, 89, term89);
    put32(header, 105, term105);
    header[113] = static_cast<char>(page.factor113);
    header[114] = static_cast<char>(page.factor114);
    header[115] = static_cast<char>(page.resolution);
    put32(header, 116, dataLength);
    return header;
}

std::string buildWinFaxFile(const std::vector<WinFaxPage>& pages) {
    std::string file;
    for (const WinFaxPage& page : pages) {
        file += winFaxHeader(page, static_cast<std::int64_t>(file.size()));
        file.append(page.data.begin(), page.data.end());
        file.append(page.trailing.begin(), page.trailing.end());
    }
    return file;
}

WinFaxPage winFaxPageFromBitmap(const Bitmap& bitmap, FaxPageCoding coding, std::uint8_t resolution) {
    WinFaxPage page;
    page.data = encodeFaxPage(bitmap.bits.data(), bitmap.width, bitmap.rows, coding);
    page.width = static_cast<std::uint16_t>(bitmap.width);
    page.length = static_cast<std::uint16_t>(bitmap.rows);
    page.coding = coding == FaxPageCoding::T6 ? 1 : 0;
    page.resolution = resolution;
    return page;
}

}  // namespace quillon::test
