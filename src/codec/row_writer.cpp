#include "codec/row_writer.h"

#include <cstring>

namespace quillon {

namespace {

// Sets pixels [start, end) of a row to 1; start < end.
void setPixels(std::uint8_t* row, std::uint32_t start, std::uint32_t end) {
    const std::uint32_t first = start >> 3;
    const std::uint32_t last = (end - 1) >> 3;
    const auto head = std::uint8_t(0xFFu >> (start & 7));
    const auto tail = std::uint8_t(0xFFu << (7 - ((end - 1) & 7)));
    if (first == last) {
        row[first] |= head & tail;
        return;
    }
    row[first] |= head;
    std::memset(row + first + 1, 0xFF, last - first - 1);
    row[last] |= tail;
}

}  // namespace

int putRun(RowWriter& writer, std::uint32_t length, bool clear) {
    const std::uint32_t start = writer.position;
    const std::uint64_t end = std::uint64_t(start) + length;
    const bool clipped = end > writer.width;
    const std::uint32_t fits = clipped ? writer.width : std::uint32_t(end);
    if (!clear && start < fits) setPixels(writer.row, start, fits);
    writer.position = end > 0xFFFFFFFFu ? 0xFFFFFFFFu : std::uint32_t(end);
    return clipped ? -1 : 0;
}

}  // namespace quillon
