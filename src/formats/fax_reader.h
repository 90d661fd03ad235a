#pragma once
// The state every input format reader starts with: the source file's bytes,
// the table of page positions and the data of the page loaded last.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/fax_pages.h"

namespace quillon {

class FaxReader {
public:
    static constexpr std::size_t kMaxPages = 1024;

    // Reads from the source's bytes from now on, which the caller keeps
    // alive while the reader is used; false, and the reader stays closed,
    // when there are none (the source is no regular file).
    bool openBytes(SourceBytes bytes);
    bool isOpen() const { return open_; }
    // Lets go of the bytes: nothing more is read.
    void closeBytes();

    // False (and no change) when the table already holds kMaxPages positions.
    bool addPagePosition(std::uint32_t position);
    // The stored position for an index below the page count, else 0.
    std::uint32_t pagePosition(std::uint16_t index) const;
    std::uint16_t pageCount() const { return pageCount_; }
    std::int64_t fileSize() const { return std::int64_t(bytes_.size()); }
    const std::vector<std::uint8_t>& pageData() const { return pageData_; }

protected:
    void clearPages() { pageCount_ = 0; }
    // Copies up to size bytes at position; returns how many the file holds
    // there (none beyond its end, or when no file is open).
    std::size_t readAt(std::int64_t position, std::uint8_t* into, std::size_t size) const;
    // Replaces the page data by the size bytes at position (fewer when the
    // file ends first).
    void loadPageData(std::int64_t position, std::size_t size);

private:
    SourceBytes bytes_;
    bool open_ = false;
    std::array<std::uint32_t, kMaxPages> pagePositions_{};
    std::uint16_t pageCount_ = 0;
    std::vector<std::uint8_t> pageData_;
};

}  // namespace quillon
