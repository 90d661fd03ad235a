#pragma once
// The state every input format reader starts with: the open source file, its
// size, the table of page positions and the data of the page loaded last.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quillon {

class FaxReader {
public:
    static constexpr std::size_t kMaxPages = 1024;

    FaxReader() = default;
    ~FaxReader();
    FaxReader(const FaxReader&) = delete;
    FaxReader& operator=(const FaxReader&) = delete;

    // Closes any open file, then opens the path for binary reading and takes
    // its size. 0, or -1 when it cannot be opened (the reader stays closed).
    int openFile(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    // The result of closing; 0 when no file was open.
    int closeFile();

    // -1 (and no change) when the table already holds kMaxPages positions.
    int addPagePosition(std::uint32_t position);
    // The stored position for an index below the page count, else 0.
    std::uint32_t pagePosition(std::uint16_t index) const;
    std::uint16_t pageCount() const { return pageCount_; }
    std::int64_t fileSize() const { return fileSize_; }
    const std::vector<std::uint8_t>& pageData() const { return pageData_; }

protected:
    void clearPages() { pageCount_ = 0; }
    // Reads up to size bytes at position; returns how many were read.
    std::size_t readAt(std::int64_t position, std::uint8_t* into, std::size_t size);
    // Replaces the page data by the size bytes at position (fewer when the
    // file ends first).
    void loadPageData(std::int64_t position, std::size_t size);

private:
    std::FILE* file_ = nullptr;
    std::int64_t fileSize_ = 0;
    std::array<std::uint32_t, kMaxPages> pagePositions_{};
    std::uint16_t pageCount_ = 0;
    std::vector<std::uint8_t> pageData_;
};

}  // namespace quillon
