#include "formats/fax_reader.h"

#include "platform/files.h"

namespace quillon {

FaxReader::~FaxReader() { closeFile(); }

int FaxReader::openFile(const std::string& path) {
    closeFile();
    // Only regular files: opening a named pipe would wait for a writer forever.
    if (platform::fileSize(path) < 0) return -1;
    file_ = platform::openFile(path, "rb");
    if (!file_) return -1;
    long size = -1;
    if (std::fseek(file_, 0, SEEK_END) == 0) size = std::ftell(file_);
    if (size < 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        closeFile();
        return -1;
    }
    fileSize_ = size;
    return 0;
}

int FaxReader::closeFile() {
    if (!file_) return 0;
    const int result = std::fclose(file_);
    file_ = nullptr;
    return result;
}

int FaxReader::addPagePosition(std::uint32_t position) {
    if (pageCount_ >= kMaxPages) return -1;
    pagePositions_[pageCount_++] = position;
    return 0;
}

std::uint32_t FaxReader::pagePosition(std::uint16_t index) const {
    return index < pageCount_ ? pagePositions_[index] : 0;
}

std::size_t FaxReader::readAt(std::int64_t position, std::uint8_t* into, std::size_t size) {
    if (!file_ || position < 0 || std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return 0;
    return std::fread(into, 1, size, file_);
}

void FaxReader::loadPageData(std::int64_t position, std::size_t size) {
    // A fresh buffer, so that a large page before does not stay allocated.
    std::vector<std::uint8_t>(size).swap(pageData_);
    pageData_.resize(readAt(position, pageData_.data(), size));
}

}  // namespace quillon
